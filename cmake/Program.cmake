# tarnview.exe: app/ on top of the dialog (ui/), the capture engine (capture/) and the
# snapshot pipeline (snapshot/). Everything but the application object goes into
# tarnview_core so that tests can link the program's pieces in process.
add_library(tarnview_core STATIC
  ${CMAKE_SOURCE_DIR}/ui/AboutDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/CaptureController.cpp
  ${CMAKE_SOURCE_DIR}/ui/CaptureDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/CaptureFileName.cpp
  ${CMAKE_SOURCE_DIR}/ui/ErrorReporting.cpp
  ${CMAKE_SOURCE_DIR}/ui/OutputDirectory.cpp
  ${CMAKE_SOURCE_DIR}/capture/CameraDiscovery.cpp
  ${CMAKE_SOURCE_DIR}/capture/CameraSetup.cpp
  ${CMAKE_SOURCE_DIR}/capture/DeviceName.cpp
  ${CMAKE_SOURCE_DIR}/capture/FrameRate.cpp
  ${CMAKE_SOURCE_DIR}/capture/FrameSize.cpp
  ${CMAKE_SOURCE_DIR}/capture/GraphTeardown.cpp
  ${CMAKE_SOURCE_DIR}/capture/MediaTypeRecord.cpp
  ${CMAKE_SOURCE_DIR}/capture/PreviewGraph.cpp
  ${CMAKE_SOURCE_DIR}/capture/RecordingGraph.cpp
  ${CMAKE_SOURCE_DIR}/capture/StatusText.cpp
  ${CMAKE_SOURCE_DIR}/capture/StreamFormat.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/BmpLayout.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/FrameGrabCallback.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/GrabBuffer.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/SnapshotDialog.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/SnapshotWriter.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/StillFile.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/StillPainter.cpp)
target_include_directories(tarnview_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnview_core PUBLIC afx strmiids ole32 oleaut32 uuid shell32 winmm gdi32 user32)

# The dialog templates, icon, strings and version record; tests that create the
# dialog in process link them too.
add_library(tarnview_resources OBJECT ${CMAKE_SOURCE_DIR}/ui/tarnview.rc)
configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${CMAKE_BINARY_DIR}/generated/tarnview_version.h @ONLY)
target_include_directories(tarnview_resources PRIVATE ${CMAKE_SOURCE_DIR}/ui ${CMAKE_BINARY_DIR}/generated)

add_executable(tarnview WIN32
  ${CMAKE_SOURCE_DIR}/app/CaptureApp.cpp
  $<TARGET_OBJECTS:tarnview_resources>)
target_link_libraries(tarnview PRIVATE tarnview_core)
