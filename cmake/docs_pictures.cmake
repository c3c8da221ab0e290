# Writes the README's pictures, docs/<language>-<page>.png, from the Wine tests' BMP screenshots:
#   cmake -DSHOTS=<screenshot folder> -DDOCS=<docs folder> -P docs_pictures.cmake
# A picture whose screenshot is missing fails the run rather than leaving an old one in place.
find_program(CONVERT_PROGRAM convert REQUIRED)
set(pictures
  en-synchronize en-settings en-servers en-about en-synchronize-refused
  sv-synchronize sv-settings sv-servers sv-about)
file(MAKE_DIRECTORY ${DOCS})
foreach(picture IN LISTS pictures)
  if(NOT EXISTS ${SHOTS}/${picture}.bmp)
    message(FATAL_ERROR "no screenshot ${SHOTS}/${picture}.bmp: the window tests did not take it")
  endif()
  # No time stamps inside, so that an unchanged window makes an unchanged file.
  execute_process(
    COMMAND ${CONVERT_PROGRAM} ${SHOTS}/${picture}.bmp -strip -define png:exclude-chunks=date,time
            ${DOCS}/${picture}.png
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "convert failed on ${picture}.bmp")
  endif()
endforeach()
