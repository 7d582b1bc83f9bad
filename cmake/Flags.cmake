# Compiler settings shared by every target.
#
# Numbers: all arithmetic is IEEE double in SSE2 registers, never x87, with no
# fused multiply-add and no reassociation, so that every build produces the same
# output bits for the same input.

set(ORVALUNE_FP_FLAGS -ffp-contract=off -fno-fast-math)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
  list(APPEND ORVALUNE_FP_FLAGS -msse2 -mfpmath=sse)
endif()

set(ORVALUNE_WARNINGS -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Wold-style-cast -Wformat=2 -Wimplicit-fallthrough)
if(ORVALUNE_WERROR)
  list(APPEND ORVALUNE_WARNINGS -Werror)
endif()

# Warnings for the project's own code (not for GoogleTest).
function(orvalune_target target)
  target_compile_options(${target} PRIVATE ${ORVALUNE_WARNINGS})
endfunction()

# Floating-point flags apply to everything, third-party code included.
add_compile_options(${ORVALUNE_FP_FLAGS})

if(ORVALUNE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(ORVALUNE_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT ORVALUNE_SANITIZE STREQUAL "")
  message(FATAL_ERROR "ORVALUNE_SANITIZE must be empty, 'address' or 'thread'")
endif()

# Windows programs and the DLL carry their C++ runtime with them: they import
# only Windows system DLLs.
if(WIN32)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
