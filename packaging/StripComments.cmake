# Run by CPack on the staged files before it packs them: strip leaves the compiler's .comment
# section in the programs, which dh_strip would remove.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
if(NOT programs)
  message(FATAL_ERROR "no programs staged in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_FISCORA_OBJCOPY}" --remove-section=.comment "${program}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy failed on ${program}")
  endif()
endforeach()
