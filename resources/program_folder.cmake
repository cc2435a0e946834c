# Assembles the program folder ${KIRVALE_FOLDER}: the executable (placed there
# by its target) and every data file the program looks for at start-up.
#
# The dictionaries are built from the UTF-8 sources under resources/dict and
# encrypted with the program's own container code. KIRVALE_JAPANESE_SOURCE and
# KIRVALE_ENGLISH_SOURCE may name other UTF-8 sources (the full dictionaries).
# With KIRVALE_FULL_DICTIONARY ON (the default), tools/dictbuild builds the
# real dictionaries and the appendix from the free sources instead, falling
# back to these samples when a source is missing.

option(KIRVALE_FULL_DICTIONARY
       "Build multilingual.dic, english.dic and appendix.app from EDICT, CC-CEDICT and the other free sources" ON)

set(KIRVALE_JAPANESE_SOURCE ${CMAKE_SOURCE_DIR}/resources/dict/multilingual.txt CACHE FILEPATH
    "UTF-8 source of multilingual.dic")
set(KIRVALE_ENGLISH_SOURCE ${CMAKE_SOURCE_DIR}/resources/dict/english.txt CACHE FILEPATH
    "UTF-8 source of english.dic")
set(KIRVALE_APPENDIX_SOURCE ${CMAKE_SOURCE_DIR}/resources/appendix.txt CACHE FILEPATH
    "UTF-8 source of appendix.app")

set(_resgen $<TARGET_FILE:kirvale-resgen>)

# The sample dictionaries are always made: the window tests run on them,
# whichever dictionaries the program folder gets.
set(KIRVALE_SAMPLE_FOLDER ${CMAKE_BINARY_DIR}/sample)
add_custom_command(OUTPUT ${KIRVALE_SAMPLE_FOLDER}/multilingual.dic
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KIRVALE_SAMPLE_FOLDER}
  COMMAND ${_resgen} dict ${KIRVALE_JAPANESE_SOURCE} ${KIRVALE_SAMPLE_FOLDER}/multilingual.dic
  DEPENDS kirvale-resgen ${KIRVALE_JAPANESE_SOURCE}
  COMMENT "Encrypting the sample multilingual.dic")
add_custom_command(OUTPUT ${KIRVALE_SAMPLE_FOLDER}/english.dic
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KIRVALE_SAMPLE_FOLDER}
  COMMAND ${_resgen} dict ${KIRVALE_ENGLISH_SOURCE} ${KIRVALE_SAMPLE_FOLDER}/english.dic
  DEPENDS kirvale-resgen ${KIRVALE_ENGLISH_SOURCE}
  COMMENT "Encrypting the sample english.dic")
add_custom_command(OUTPUT ${KIRVALE_SAMPLE_FOLDER}/appendix.app
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KIRVALE_SAMPLE_FOLDER}
  COMMAND ${_resgen} gbk ${KIRVALE_APPENDIX_SOURCE} ${KIRVALE_SAMPLE_FOLDER}/appendix.app
  DEPENDS kirvale-resgen ${KIRVALE_APPENDIX_SOURCE}
  COMMENT "Writing the sample appendix.app")
set(_samples ${KIRVALE_SAMPLE_FOLDER}/multilingual.dic ${KIRVALE_SAMPLE_FOLDER}/english.dic
             ${KIRVALE_SAMPLE_FOLDER}/appendix.app)

if(KIRVALE_FULL_DICTIONARY)
  include(${CMAKE_SOURCE_DIR}/tools/dictbuild/full_dictionary.cmake)
else()
  foreach(f multilingual.dic english.dic appendix.app)
    add_custom_command(OUTPUT ${KIRVALE_FOLDER}/${f}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${KIRVALE_FOLDER}
      COMMAND ${CMAKE_COMMAND} -E copy ${KIRVALE_SAMPLE_FOLDER}/${f} ${KIRVALE_FOLDER}/${f}
      DEPENDS ${KIRVALE_SAMPLE_FOLDER}/${f})
  endforeach()
endif()

add_custom_command(OUTPUT ${KIRVALE_FOLDER}/DATA-LICENSES
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/DATA-LICENSES ${KIRVALE_FOLDER}/DATA-LICENSES
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/DATA-LICENSES)

add_custom_command(OUTPUT ${KIRVALE_FOLDER}/language.ini
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/language.ini ${KIRVALE_FOLDER}/language.ini
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/language.ini)

set(_styles ${KIRVALE_FOLDER}/styles/0.jpg ${KIRVALE_FOLDER}/styles/1.jpg
            ${KIRVALE_FOLDER}/styles/2.jpg ${KIRVALE_FOLDER}/styles/3.jpg)
# The style previews are the real main window, rendered offscreen in each
# skin with an entry looked up on the sample dictionary.
add_custom_command(OUTPUT ${_styles}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KIRVALE_FOLDER}/styles
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:kirvale-previews> previews ${KIRVALE_SAMPLE_FOLDER}/multilingual.dic ${KIRVALE_FOLDER}/styles
  DEPENDS kirvale-previews ${KIRVALE_SAMPLE_FOLDER}/multilingual.dic
  COMMENT "Rendering the style previews")

file(GLOB_RECURSE _help_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/help/*)
find_program(CHMCMD chmcmd REQUIRED)
add_custom_command(OUTPUT ${KIRVALE_FOLDER}/Kirvale.chm
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources/help ${CMAKE_BINARY_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/help ${CHMCMD} --no-html-scan kirvale.hhp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KIRVALE_FOLDER}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/help/Kirvale.chm ${KIRVALE_FOLDER}/Kirvale.chm
  DEPENDS ${_help_sources}
  COMMENT "Compiling Kirvale.chm")

add_custom_target(program_folder ALL DEPENDS
  ${KIRVALE_FOLDER}/multilingual.dic ${KIRVALE_FOLDER}/english.dic ${KIRVALE_FOLDER}/appendix.app
  ${KIRVALE_FOLDER}/language.ini ${_styles} ${KIRVALE_FOLDER}/Kirvale.chm ${KIRVALE_FOLDER}/DATA-LICENSES
  ${_samples} kirvale)

# The splash picture is compiled into the program.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/generated/splash_jpeg.cpp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${_resgen} splash ${CMAKE_BINARY_DIR}/generated/splash_jpeg.cpp
  DEPENDS kirvale-resgen
  COMMENT "Drawing the splash picture")
target_sources(kirvale_ui PRIVATE ${CMAKE_BINARY_DIR}/generated/splash_jpeg.cpp)
