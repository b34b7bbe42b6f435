# Warnings for our own targets; third-party code is never built with these.
function(tarvex_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wcast-align -Wunused -Woverloaded-virtual -Wformat=2)
  if(TARVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(TARVEX_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC's flow analysis gives false "may be used uninitialized" alarms once the sanitizers
    # instrument the code; the normal build keeps the warning.
    target_compile_options(${target} PRIVATE -Wno-maybe-uninitialized)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
                                               TARVEX_VERSION="${PROJECT_VERSION}")
endfunction()

if(TARVEX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
