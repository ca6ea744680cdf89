# Every target of ours takes its warnings from here (the program's own build and the build of the
# core for Windows alike).
add_library(tirna_warnings INTERFACE)
# The program's version, for --version of the three programs and the package.
target_compile_definitions(tirna_warnings INTERFACE TIRNA_VERSION="${PROJECT_VERSION}")
target_compile_options(tirna_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                -Wno-sign-conversion)
