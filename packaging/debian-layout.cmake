# Run by CPack after installing into its staging folder: makes the installed
# program folder under /opt/quillary visible to the system, as a command in
# /usr/bin, as a menu entry with its icon in /usr/share and as a manual page in
# /usr/share/man, where `man quillary` finds it.
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(prefix ${root}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${prefix}/bin/quillary)
    message(FATAL_ERROR "no program at ${prefix}/bin/quillary to lay out")
endif()

file(MAKE_DIRECTORY ${root}/usr/bin ${root}/usr/share)
file(CREATE_LINK ${CPACK_PACKAGING_INSTALL_PREFIX}/bin/quillary ${root}/usr/bin/quillary SYMBOLIC)
file(RENAME ${prefix}/share/applications ${root}/usr/share/applications)
file(RENAME ${prefix}/share/icons ${root}/usr/share/icons)
file(RENAME ${prefix}/share/man ${root}/usr/share/man)
# Debian keeps manual pages compressed, without a time stamp in the gzip header.
execute_process(COMMAND gzip -9n ${root}/usr/share/man/man1/quillary.1 RESULT_VARIABLE gzipped)
if(NOT gzipped EQUAL 0)
    message(FATAL_ERROR "could not compress the manual page")
endif()
file(REMOVE_RECURSE ${prefix}/share)
