// Program entry of the game binary.
int main() { return 0; }
