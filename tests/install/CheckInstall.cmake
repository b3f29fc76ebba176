# cmake -DBUILD=... -DPREFIX=... [-DVERSION=... -DCPACK=...] -P CheckInstall.cmake
# With VERSION, also builds the Debian package from BUILD, unpacks it into a root of its own and
# runs the programs from there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(id io.github.velkar.Velkar)

# What a desktop needs under ROOT, and the validators' own verdicts on it (hints and pedantic
# notes pass).
function(check_tree root)
  set(expected bin/velkar bin/velkar-cli share/applications/${id}.desktop share/metainfo/${id}.metainfo.xml ${ARGN})
  foreach(size 16 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
  endforeach()
  foreach(file IN LISTS expected)
    if(NOT EXISTS ${root}/${file})
      message(FATAL_ERROR "not in ${root}: ${file}")
    endif()
  endforeach()
  execute_process(COMMAND desktop-file-validate ${root}/share/applications/${id}.desktop
                  RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(failed)
    message(FATAL_ERROR "desktop-file-validate: ${said}")
  endif()
  execute_process(COMMAND appstreamcli validate --no-net ${root}/share/metainfo/${id}.metainfo.xml
                  RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(failed)
    message(FATAL_ERROR "appstreamcli validate: ${said}")
  endif()
endfunction()

check_tree(${PREFIX})
if(NOT VERSION)
  return()
endif()

set(packages ${PREFIX}-package)
file(REMOVE_RECURSE ${packages})
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${packages}
                RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${packages}/velkar_${VERSION}_${arch}.deb)
if(failed OR NOT EXISTS ${deb})
  message(FATAL_ERROR "cpack made no ${deb}: ${said}")
endif()
set(root ${packages}/root)
execute_process(COMMAND dpkg-deb -x ${deb} ${root} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "dpkg-deb -x ${deb} failed")
endif()
check_tree(${root}/usr share/doc/velkar/copyright share/doc/velkar/changelog.gz share/man/man1/velkar.1.gz
           share/man/man1/velkar-cli.1.gz)

execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends)
foreach(needed qt6-qpa-plugins libqt6widgets6 libc6)
  if(NOT depends MATCHES "(^|, )${needed}( |,|$)")
    message(FATAL_ERROR "the package does not depend on ${needed}: ${depends}")
  endif()
endforeach()

# Both programs answer --version without a display.
foreach(program velkar velkar-cli)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                          ${root}/usr/bin/${program} --version
                  RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(failed OR NOT said STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "${program} --version from the package: ${failed}: ${said}")
  endif()
endforeach()
