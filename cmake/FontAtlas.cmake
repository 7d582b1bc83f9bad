# Glyph atlases rasterised at build time: tools/fontgen is compiled with the
# build machine's own C++ compiler (also when the project is cross-compiled)
# against FreeType, then run on the font files to write C++ sources.
#
#   orvalune_font_atlas(<target> FONT <file.ttf> PIXELS <em height> SYMBOL <name>)
# adds the generated source defining `extern const gui::FontFace <name>` to <target>.

include_guard(GLOBAL)

find_program(ORVALUNE_NATIVE_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

execute_process(COMMAND pkg-config --cflags freetype2 OUTPUT_VARIABLE _ft_cflags
                RESULT_VARIABLE _ft_cflags_result OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
execute_process(COMMAND pkg-config --libs freetype2 OUTPUT_VARIABLE _ft_libs
                RESULT_VARIABLE _ft_libs_result OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT _ft_cflags_result EQUAL 0 OR NOT _ft_libs_result EQUAL 0)
  set(_ft_cflags -I/usr/include/freetype2)
  set(_ft_libs -lfreetype)
endif()
separate_arguments(ORVALUNE_FREETYPE_CFLAGS UNIX_COMMAND "${_ft_cflags}")
separate_arguments(ORVALUNE_FREETYPE_LIBS UNIX_COMMAND "${_ft_libs}")

set(ORVALUNE_FONTGEN ${CMAKE_BINARY_DIR}/native/orvalune-fontgen)
set(_fontgen_source ${PROJECT_SOURCE_DIR}/tools/fontgen/fontgen.cpp)
add_custom_command(
  OUTPUT ${ORVALUNE_FONTGEN}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/native
  COMMAND ${ORVALUNE_NATIVE_CXX} -std=c++17 -O2 ${ORVALUNE_FREETYPE_CFLAGS} ${_fontgen_source}
          -o ${ORVALUNE_FONTGEN} ${ORVALUNE_FREETYPE_LIBS}
  DEPENDS ${_fontgen_source}
  COMMENT "Building the native font rasteriser"
  VERBATIM)

function(orvalune_font_atlas target)
  cmake_parse_arguments(ARG "" "FONT;PIXELS;SYMBOL" "" ${ARGN})
  set(output ${CMAKE_CURRENT_BINARY_DIR}/generated/${ARG_SYMBOL}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${ORVALUNE_FONTGEN} ${ARG_FONT} ${ARG_PIXELS} ${ARG_SYMBOL} ${output}
    DEPENDS ${ORVALUNE_FONTGEN} ${ARG_FONT}
    COMMENT "Rasterising ${ARG_SYMBOL}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
