# BREVANTO_VERSION: the version number the program states (checker/driver/Brevanto_vers.cpp),
# which names the packages.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../checker/driver/Brevanto_vers.cpp version_line
     REGEX "numver = [0-9]+;")
string(REGEX MATCH "[0-9]+" BREVANTO_VERSION "${version_line}")
if(NOT BREVANTO_VERSION)
  message(FATAL_ERROR "no version number found in checker/driver/Brevanto_vers.cpp")
endif()
