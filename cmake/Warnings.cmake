# Core libraries build with warnings as errors; tests and tools with warnings only.
function(tolmar_core_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
endfunction()

function(tolmar_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
