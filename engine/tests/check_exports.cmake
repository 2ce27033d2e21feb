# Compares the dynamic symbols the engine library defines with its interface.
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[0-9a-f]+ [A-Za-z] [^\n]+" lines "${listing}")
set(symbols)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" symbol "${line}")
  list(APPEND symbols "${symbol}")
endforeach()
list(SORT symbols)
set(expected
  KOVAHDDGetNumFilesOnDevice
  KOVAHDDIsDevicePresent
  KOVAHDDProfilerCancelSyncronize
  KOVAHDDProfilerGetFileExtension
  KOVAHDDProfilerGetRunSummary
  KOVAHDDProfilerResetCancel
  KOVAHDDProfilerUseTagCache
  KOVAHDDUpdateHelpFiles
  KOVAHDDUpdateSystemFiles
  _Z25KOVAHDDProfilerSyncronizecPFviiEPv
  _Z25KOVAHDDProfilerSyncronizePKcPFviiEPv
)
list(SORT expected)
if(NOT symbols STREQUAL expected)
  message(FATAL_ERROR "exported symbols differ:\n  got      ${symbols}\n  expected ${expected}")
endif()
