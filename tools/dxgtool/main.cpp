#include <iostream>

#include "DxgTool.h"

int main(int argc, char** argv) {
  return bd::RunDxgTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
