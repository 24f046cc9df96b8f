# Writes MANIFEST into the data directory DIR: the SHA-256, size and name of
# every file in it, sorted by name, so that an installation can be checked
# with `kestrava --check-data`.
file(GLOB_RECURSE files RELATIVE ${DIR} ${DIR}/*)
list(REMOVE_ITEM files MANIFEST)
list(SORT files)
set(text "# Kestrava game data: SHA-256, size in bytes, name\n")
foreach(name ${files})
  file(SHA256 ${DIR}/${name} hash)
  file(SIZE ${DIR}/${name} size)
  string(APPEND text "${hash} ${size} ${name}\n")
endforeach()
file(WRITE ${DIR}/MANIFEST.new "${text}")
file(RENAME ${DIR}/MANIFEST.new ${DIR}/MANIFEST)
