# tarnview.exe: app/ on top of the dialog (ui/), the capture engine (capture/) and the
# snapshot pipeline (snapshot/). The pieces that work without the dialog are libraries
# of their own, so a unit test links only what it tests; tarnview_dialog is the dialog
# with every member of it, for the program and the in-process dialog tests.

# Capture engine helpers: media types, formats, names, texts, the silence watch.
add_library(tarnview_capture STATIC
  ${CMAKE_SOURCE_DIR}/capture/DeviceName.cpp
  ${CMAKE_SOURCE_DIR}/capture/FrameRate.cpp
  ${CMAKE_SOURCE_DIR}/capture/FrameSize.cpp
  ${CMAKE_SOURCE_DIR}/capture/GraphEventText.cpp
  ${CMAKE_SOURCE_DIR}/capture/MediaTypeRecord.cpp
  ${CMAKE_SOURCE_DIR}/capture/RecordingWatch.cpp
  ${CMAKE_SOURCE_DIR}/capture/StatusText.cpp
  ${CMAKE_SOURCE_DIR}/capture/StreamFormat.cpp)
target_include_directories(tarnview_capture PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnview_capture PUBLIC comkit strmiids ole32 oleaut32 uuid)

# Snapshot pipeline: grab buffer and callback, still file, writer and painter, and the
# capture file names both stills and clips are given.
add_library(tarnview_snapshot STATIC
  ${CMAKE_SOURCE_DIR}/snapshot/BmpLayout.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/CaptureFileName.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/FrameGrabCallback.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/GrabBuffer.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/SnapshotWriter.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/StillFile.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/StillPainter.cpp)
target_include_directories(tarnview_snapshot PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnview_snapshot PUBLIC strmiids uuid gdi32 user32)

# The dialog, its controller and every dialog member the capture engine and the
# snapshot pipeline define.
add_library(tarnview_dialog STATIC
  ${CMAKE_SOURCE_DIR}/ui/AboutDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/CaptureController.cpp
  ${CMAKE_SOURCE_DIR}/ui/CaptureDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/ErrorReporting.cpp
  ${CMAKE_SOURCE_DIR}/ui/OutputDirectory.cpp
  ${CMAKE_SOURCE_DIR}/capture/CameraDiscovery.cpp
  ${CMAKE_SOURCE_DIR}/capture/CameraSetup.cpp
  ${CMAKE_SOURCE_DIR}/capture/GraphAssembly.cpp
  ${CMAKE_SOURCE_DIR}/capture/GraphEvents.cpp
  ${CMAKE_SOURCE_DIR}/capture/GraphTeardown.cpp
  ${CMAKE_SOURCE_DIR}/capture/PreviewGraph.cpp
  ${CMAKE_SOURCE_DIR}/capture/RecordingGraph.cpp
  ${CMAKE_SOURCE_DIR}/capture/VideoWindow.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/SnapshotDialog.cpp)
target_include_directories(tarnview_dialog PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnview_dialog PUBLIC tarnview_capture tarnview_snapshot afx comkit
  strmiids ole32 oleaut32 uuid shell32 winmm gdi32 user32)

# The dialog templates, icon, strings and version record; tests that create the
# dialog in process link them too.
add_library(tarnview_resources OBJECT ${CMAKE_SOURCE_DIR}/ui/tarnview.rc)
configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${CMAKE_BINARY_DIR}/generated/tarnview_version.h @ONLY)
target_include_directories(tarnview_resources PRIVATE ${CMAKE_SOURCE_DIR}/ui ${CMAKE_BINARY_DIR}/generated)

add_executable(tarnview WIN32
  ${CMAKE_SOURCE_DIR}/app/CaptureApp.cpp
  $<TARGET_OBJECTS:tarnview_resources>)
target_link_libraries(tarnview PRIVATE tarnview_dialog)
