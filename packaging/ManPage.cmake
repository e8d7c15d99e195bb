# Makes one gzipped manual page, PAGE.gz (PAGE ends in .1), run as
#   cmake -DPAGE=... -DGZIP=... (tool page | written page) -P ManPage.cmake
# tool page:    -DTOOL=program -DHELP2MAN=... -DSOURCE="tqxfft 1.1" -DSEE_ALSO=a,b
#               [-DRUNNER=emulator]
#               help2man runs the program's --help and --version (through the
#               emulator, for a program of a cross build); the NAME line is the
#               first line of --help after its usage lines.
# written page: -DTEMPLATE=page.1.in -DVERSION=1.1  (@VERSION@ is replaced)
cmake_minimum_required(VERSION 3.25)

if(DEFINED TOOL)
  execute_process(COMMAND ${RUNNER} ${TOOL} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
  # Usage lines start with "Usage:" or are indented; the description is the
  # first line that is neither.
  if(NOT help MATCHES "\n([^ \n][^\n]*)\\.\n")
    message(FATAL_ERROR "${TOOL} --help has no one-line description after its usage")
  endif()
  set(description "${CMAKE_MATCH_1}")
  string(SUBSTRING "${description}" 0 1 initial)
  string(SUBSTRING "${description}" 1 -1 rest)
  string(TOLOWER "${initial}" initial)

  string(REPLACE "," ";" seeAlso "${SEE_ALSO}")
  list(TRANSFORM seeAlso APPEND " (1)")
  list(TRANSFORM seeAlso PREPEND ".BR ")
  list(JOIN seeAlso ",\n" seeAlso)
  file(WRITE ${PAGE}.h2m "[SEE ALSO]\n${seeAlso}\n")

  # help2man hands its program to the shell, so the emulator may stand before
  # it; the page's name is taken from --version either way.
  list(JOIN RUNNER " " program)
  string(STRIP "${program} ${TOOL}" program)
  execute_process(
    COMMAND ${HELP2MAN} --no-info --section=1 "--source=${SOURCE}" "--name=${initial}${rest}"
            --include=${PAGE}.h2m --output=${PAGE} ${program}
    COMMAND_ERROR_IS_FATAL ANY)
  # help2man knows no exit status paragraph and makes it a sub-section of the
  # options; manual pages give it a section of its own.
  file(READ ${PAGE} page)
  string(REPLACE ".SS \"Exit status:\"" ".SH \"EXIT STATUS\"" page "${page}")
  file(WRITE ${PAGE} "${page}")
else()
  configure_file(${TEMPLATE} ${PAGE} @ONLY)
endif()

# As Debian installs manual pages: best compression, no name or time stamp.
file(REMOVE ${PAGE}.gz)
execute_process(COMMAND ${GZIP} -9n ${PAGE} COMMAND_ERROR_IS_FATAL ANY)
