# The protections distributions build their packages with: checked string
# and memory functions, stack canaries, and relocations made read-only before
# the program runs. The sanitizer and fuzzing builds check more on their own
# and are left without them.
option(BD_HARDEN "Build with the usual hardening flags" ON)
if(BD_HARDEN AND NOT BD_SANITIZE AND NOT BD_FUZZ)
  add_compile_options(-fstack-protector-strong
                      # Fortified functions need the optimiser; a value given
                      # in CXXFLAGS is replaced rather than redefined.
                      "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>"
                      "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>")
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
