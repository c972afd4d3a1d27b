# Strict warnings for our own targets; CI builds with them as errors.
function(veskar_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wformat=2)
  if(VESKAR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
