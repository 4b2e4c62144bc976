# Builds the installer MSI from WXS with wixl, run in a staging folder with FILES (the program,
# the sample, the icon), ARCH (wixl's x86 or x64) and VERSION. wixl writes ASCII only, so the
# Russian texts go in afterwards, by SQL over the database once its code page is Windows-1251
# (msibuild, also msitools'); a flag wixl drops as well is set the same way.
# Two builds of one commit give the same bytes: the files dated at the commit's time
# (SOURCE_DATE_EPOCH, as the zip's are), the package code made from what the package holds, and
# both tools run under faketime at that time, in UTC, since the database stores when it was made.
string(TIMESTAMP epoch "%s" UTC)
string(TIMESTAMP when "%Y-%m-%d %H:%M:%S" UTC)
set(contents "${ARCH} ${VERSION}")
foreach(file IN LISTS FILES ITEMS ${WXS})
    cmake_path(GET file FILENAME name)
    file(COPY_FILE ${file} ${name})
    execute_process(COMMAND touch -d @${epoch} ${name} COMMAND_ERROR_IS_FATAL ANY)
    file(SHA256 ${name} hash)
    string(APPEND contents " ${hash}")
endforeach()
string(UUID package NAMESPACE D99A3845-EC4B-485D-AA11-B4AB1AEBEF07 NAME "${contents}" TYPE SHA1
       UPPER)
set(at faketime -f ${when})
# The platform as Windows Installer names it: it refuses a package for any other (1633), and has
# the 32-bit one as Intel where wixl says x86.
string(REPLACE x86 Intel platform ${ARCH})
set(name "Вокабунта")
# The summary (what Explorer shows of the file) holds its texts in the code page it names, which
# the WXS makes Windows-1251.
execute_process(COMMAND printf %s "${name}" COMMAND iconv -f UTF-8 -t CP1251
                OUTPUT_VARIABLE summary_name COMMAND_ERROR_IS_FATAL ANY)
set(folder "VOKABU~1|${name}")
cmake_path(GET WXS FILENAME wxs)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${at} wixl -a ${ARCH} -o ${MSI} ${wxs}
                COMMAND_ERROR_IS_FATAL ANY)
file(WRITE _ForceCodepage.idt "\r\n\r\n1251\t_ForceCodepage\r\n")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${at} msibuild ${MSI} -i _ForceCodepage.idt
        -q "UPDATE Property SET Value='${name}' WHERE Property='ProductName' OR Property='Manufacturer'"
        -q "UPDATE Directory SET DefaultDir='${folder}' WHERE DefaultDir='VOKABUNTA'"
        -q "UPDATE Shortcut SET Name='${folder}', Description='Карточки со словами из папки Документы\\${name}'"
        -q "UPDATE Registry SET Value='${name}' WHERE Value='VOKABUNTA'"
        # The words: never overwritten (128), never removed (16).
        -q "UPDATE Component SET Attributes=144 WHERE Component='Words'"
        -s "${summary_name} ${VERSION}" "${summary_name}" "${platform};1049" "{${package}}"
    COMMAND_ERROR_IS_FATAL ANY)
