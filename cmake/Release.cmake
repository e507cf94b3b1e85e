# The download for Windows users: `cmake --build <tree> --target release` writes
# tarnview-<version>-win64.zip into the build tree, holding one folder with the
# program, the virtual camera, its tool and README.txt (stripped of debug data).
set(TARNVIEW_RELEASE_NAME tarnview-${PROJECT_VERSION}-win64)
set(TARNVIEW_RELEASE_ZIP ${CMAKE_BINARY_DIR}/${TARNVIEW_RELEASE_NAME}.zip)
set(release_stage ${CMAKE_BINARY_DIR}/release-stage)
set(release_folder ${release_stage}/${TARNVIEW_RELEASE_NAME})
set(release_readme ${CMAKE_BINARY_DIR}/release-readme/README.txt)

configure_file(${CMAKE_SOURCE_DIR}/docs/windows/README.txt ${release_readme} @ONLY NEWLINE_STYLE CRLF)

add_custom_command(OUTPUT ${TARNVIEW_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${release_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${release_folder}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarnview> $<TARGET_FILE:tarnview-vcam> $<TARGET_FILE:vcamctl>
          ${release_readme} ${release_folder}
  COMMAND ${CMAKE_STRIP} --strip-debug ${release_folder}/tarnview.exe ${release_folder}/tarnview-vcam.dll
          ${release_folder}/vcamctl.exe
  COMMAND ${CMAKE_COMMAND} -E chdir ${release_stage}
          ${CMAKE_COMMAND} -E tar cf ${TARNVIEW_RELEASE_ZIP} --format=zip ${TARNVIEW_RELEASE_NAME}
  DEPENDS tarnview tarnview-vcam vcamctl ${release_readme}
  COMMENT "Release package ${TARNVIEW_RELEASE_ZIP}"
  VERBATIM)
add_custom_target(release DEPENDS ${TARNVIEW_RELEASE_ZIP})
