# Warnings are errors on both compilers (C++ sources only: the resource compiler takes none).
function(vekhor_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
      -Wold-style-cast -Wcast-align -Woverloaded-virtual -Werror>)
endfunction()
