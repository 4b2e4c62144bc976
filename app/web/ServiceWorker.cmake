# Writes the service worker from TEMPLATE into DIR/sw.js, with the list of the page's FILES
# (relative to DIR) and a cache name drawn from their contents.
set(hashes "")
set(files "\"./\"")
foreach(file IN LISTS FILES)
    file(SHA256 "${DIR}/${file}" hash)
    string(APPEND hashes "${hash} ${file}\n")
    string(APPEND files ", \"${file}\"")
endforeach()
string(SHA256 PAGE_HASH "${hashes}")
string(SUBSTRING "${PAGE_HASH}" 0 16 PAGE_HASH)
set(PAGE_FILES "${files}")
configure_file("${TEMPLATE}" "${DIR}/sw.js" @ONLY)
