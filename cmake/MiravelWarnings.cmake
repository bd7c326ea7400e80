# Warnings apply to our own targets only; third-party headers come in as
# system includes and stay quiet.
function(miravel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(MIRAVEL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
