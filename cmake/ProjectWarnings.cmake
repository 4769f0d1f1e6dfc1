# Strict warnings, treated as errors, for the project's own targets only.
function(bd_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
endfunction()

# Collects the sources of one folder (recursively) without listing each file,
# so that adding a file never needs an edit here.
function(bd_glob_sources out_var)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${ARGN})
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()
