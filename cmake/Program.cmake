# tarnview.exe: app/ on top of the dialog (ui/), the capture engine (capture/) and the
# snapshot pipeline (snapshot/). Everything but the application object goes into
# tarnview_core so that tests can link the program's pieces in process.
file(GLOB TARNVIEW_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/ui/*.cpp
  ${CMAKE_SOURCE_DIR}/capture/*.cpp
  ${CMAKE_SOURCE_DIR}/snapshot/*.cpp)
if(NOT TARNVIEW_CORE_SOURCES OR NOT TARGET afx)
  return()
endif()

add_library(tarnview_core STATIC ${TARNVIEW_CORE_SOURCES})
target_include_directories(tarnview_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnview_core PUBLIC afx strmiids ole32 oleaut32 uuid shell32 winmm gdi32 user32)

# The dialog templates, icon, strings and version record; tests that create the
# dialog in process link them too.
add_library(tarnview_resources OBJECT ${CMAKE_SOURCE_DIR}/ui/tarnview.rc)
target_include_directories(tarnview_resources PRIVATE ${CMAKE_SOURCE_DIR}/ui)

file(GLOB TARNVIEW_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*.cpp)
add_executable(tarnview WIN32 ${TARNVIEW_APP_SOURCES} $<TARGET_OBJECTS:tarnview_resources>)
target_link_libraries(tarnview PRIVATE tarnview_core)
