# Makes the portable program's zip (cmake -P): the program, the README and
# the licences in one folder, the same bytes from the same files: files in
# name order, each with the same permissions and the time SOURCE_DATE_EPOCH
# gives (now where it is not set), written in UTC, with no other times or
# owners (zip -X).
#
#   cmake -D program=<exe> -D readme=<txt> -D licenses=<folder>
#         -D folder=<name inside the zip> -D zip=<output> -P PortableZip.cmake
find_program(ZIP zip REQUIRED)
set(stage "${zip}.files")
file(REMOVE_RECURSE "${stage}" "${zip}")
set(permissions FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(COPY "${program}" "${readme}" DESTINATION "${stage}/${folder}" ${permissions})
file(COPY "${licenses}/" DESTINATION "${stage}/${folder}/licenses" ${permissions})
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${stage}" "${stage}/*")
list(SORT files)
string(TIMESTAMP time "%s" UTC)
set(ENV{TZ} UTC)
execute_process(COMMAND touch -d "@${time}" ${files} WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${ZIP}" -X -D -q -9 "${zip}" ${files} WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE "${stage}")
