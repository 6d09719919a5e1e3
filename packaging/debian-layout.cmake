# Run by CPack after installing into its staging folder: adds to the installed tree
# what Debian asks of every package: the manual page compressed, the copyright
# file and changelog in /usr/share/doc/quillary, and lintian's overrides.
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(usr ${root}${CPACK_PACKAGING_INSTALL_PREFIX})
set(source ${CPACK_QUILLARY_PACKAGING_DIR})
if(NOT EXISTS ${usr}/bin/quillary)
    message(FATAL_ERROR "no program at ${usr}/bin/quillary to lay out")
endif()

# The changelog's latest entry names the package it describes.
set(version ${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
file(STRINGS ${source}/changelog.Debian latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^quillary \\(${version}\\) ")
    message(FATAL_ERROR "packaging/changelog.Debian has no entry for ${version} at its top")
endif()

# Debian keeps manual pages and changelogs compressed, without a name or time stamp in the gzip header.
function(compress from to)
    execute_process(COMMAND gzip -9n -c ${from} OUTPUT_FILE ${to} RESULT_VARIABLE gzipped)
    if(NOT gzipped EQUAL 0)
        message(FATAL_ERROR "could not compress ${from}")
    endif()
    file(CHMOD ${to} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

set(man ${usr}/share/man/man1/quillary.1)
compress(${man} ${man}.gz)
file(REMOVE ${man})

set(doc ${usr}/share/doc/quillary)
file(MAKE_DIRECTORY ${doc})
compress(${source}/changelog.Debian ${doc}/changelog.Debian.gz)
file(COPY_FILE ${source}/copyright ${doc}/copyright)
set(overrides ${usr}/share/lintian/overrides)
file(MAKE_DIRECTORY ${overrides})
file(COPY_FILE ${source}/lintian-overrides ${overrides}/quillary)
file(CHMOD ${doc}/copyright ${overrides}/quillary PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
