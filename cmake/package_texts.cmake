# The text files of a package, with the line ends of the system it is for (`crlf`: Windows'):
# organisers edit them in Notepad, whose older versions show a file of LF line ends as one line.
# Written again only when they change, so that nothing is rebuilt for nothing.
function(brevanto_text_file source target crlf)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  if(crlf)
    string(REPLACE "\n" "\r\n" text "${text}")
  endif()
  set(old "")
  if(EXISTS ${target})
    file(READ ${target} old)
  endif()
  if(NOT "${old}" STREQUAL "${text}")
    file(WRITE ${target} "${text}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
