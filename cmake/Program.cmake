# tarnview.exe: app/ on top of the dialog (ui/), the capture engine (capture/) and the
# snapshot pipeline (snapshot/). The pieces that work without the dialog are libraries
# of their own, so a unit test links only what it tests; tarnview_dialog is the dialog
# with every member of it, for the program and the in-process dialog tests.

# tarnview_library(<name> SOURCES <paths from the source root>... LIBS ...): one static
# library of the program's own sources, included from the source root.
function(tarnview_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  list(TRANSFORM L_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()

# Capture engine: camera discovery, the graph builders and teardown as free functions,
# media types, formats, names, texts, the silence watch.
tarnview_library(tarnview_capture
  SOURCES capture/CameraDiscovery.cpp capture/CameraSetup.cpp capture/DeviceName.cpp capture/FrameRate.cpp
          capture/FrameSize.cpp capture/GraphAssembly.cpp capture/GraphEventQueue.cpp capture/GraphEventText.cpp
          capture/GraphTeardown.cpp capture/MediaTypeRecord.cpp capture/PreviewGraph.cpp
          capture/RecordingGraph.cpp capture/RecordingWatch.cpp capture/SilenceClock.cpp capture/StatusText.cpp
          capture/StreamFormat.cpp capture/VideoWindow.cpp
  LIBS comkit strmiids ole32 oleaut32 uuid user32)

# Snapshot pipeline: grab buffer and callback, still file, writer and painter, and the
# capture file names both stills and clips are given.
tarnview_library(tarnview_snapshot
  SOURCES snapshot/BmpLayout.cpp snapshot/CaptureFileName.cpp snapshot/CaptureNameCheck.cpp
          snapshot/CounterSearch.cpp snapshot/FrameGrabCallback.cpp snapshot/GrabBuffer.cpp snapshot/NumberedFile.cpp
          snapshot/SnapshotWriter.cpp snapshot/StillFile.cpp snapshot/StillPainter.cpp
  LIBS strmiids uuid gdi32 user32)

# The dialog, its controller and its members over the capture engine and the snapshot
# pipeline.
tarnview_library(tarnview_dialog
  SOURCES ui/AboutDlg.cpp ui/CaptureController.cpp ui/CaptureDlg.cpp ui/DialogGraphs.cpp ui/ErrorReporting.cpp
          ui/GraphEvents.cpp ui/OutputDirectory.cpp ui/SnapshotDialog.cpp
  LIBS tarnview_capture tarnview_snapshot afx comkit strmiids ole32 oleaut32 uuid shell32 winmm gdi32 user32)

# The dialog templates, icon, strings and version record; tests that create the
# dialog in process link them too.
add_library(tarnview_resources OBJECT ${CMAKE_SOURCE_DIR}/ui/tarnview.rc)
configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${CMAKE_BINARY_DIR}/generated/tarnview_version.h @ONLY)
target_include_directories(tarnview_resources PRIVATE ${CMAKE_SOURCE_DIR}/ui ${CMAKE_BINARY_DIR}/generated)

add_executable(tarnview WIN32
  ${CMAKE_SOURCE_DIR}/app/CaptureApp.cpp
  $<TARGET_OBJECTS:tarnview_resources>)
target_link_libraries(tarnview PRIVATE tarnview_dialog)
