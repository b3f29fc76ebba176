# cmake -DBUILD=... -DPREFIX=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(id io.github.velkar.Velkar)
set(expected bin/velkar bin/velkar-cli share/applications/${id}.desktop share/metainfo/${id}.metainfo.xml)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The validators' own verdicts; hints and pedantic notes pass.
execute_process(COMMAND desktop-file-validate ${PREFIX}/share/applications/${id}.desktop
                RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(failed)
  message(FATAL_ERROR "desktop-file-validate: ${said}")
endif()
execute_process(COMMAND appstreamcli validate --no-net ${PREFIX}/share/metainfo/${id}.metainfo.xml
                RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(failed)
  message(FATAL_ERROR "appstreamcli validate: ${said}")
endif()
