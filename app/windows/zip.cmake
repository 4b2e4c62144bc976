# Packs FILES into the zip ZIP with Info-ZIP's zip, run in an empty staging folder. Two builds of
# one commit give the same bytes: the files in the order given, each with the same mode and dated
# at the commit's time, SOURCE_DATE_EPOCH (without it, now), in UTC, and no extra fields (-X),
# which would carry the owner and the times of reading and of the last change.
string(TIMESTAMP epoch "%s" UTC)
set(names "")
foreach(file IN LISTS FILES)
    cmake_path(GET file FILENAME name)
    file(COPY_FILE ${file} ${name})
    file(CHMOD ${name} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    list(APPEND names ${name})
endforeach()
file(REMOVE ${ZIP})
execute_process(COMMAND touch -d @${epoch} ${names} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q ${ZIP} ${names}
                COMMAND_ERROR_IS_FATAL ANY)
