# cmake -DIN=file -DOUT=file -P WindowsText.cmake
# A text for Notepad on any Windows: CR LF line ends and Windows-1252 bytes.
# iconv refuses a character that Windows-1252 lacks, so such a text never
# reaches a user as mojibake.
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}.utf8" "${text}")
execute_process(COMMAND iconv -f UTF-8 -t CP1252 "${OUT}.utf8" OUTPUT_FILE "${OUT}" RESULT_VARIABLE failed)
file(REMOVE "${OUT}.utf8")
if(failed)
    file(REMOVE "${OUT}")
    message(FATAL_ERROR "${IN} holds a character that Windows-1252 lacks")
endif()
