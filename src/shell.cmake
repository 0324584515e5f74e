# The desktop shell: Qt Widgets windows over the core. Qt-side files of each subsystem sit
# beside its core files, named *_qt.cpp, and build into this target only.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets SerialPort Svg)
find_package(Threads REQUIRED)
file(GLOB VELMORIA_SHELL_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/frontend/*_qt.cpp ${CMAKE_CURRENT_SOURCE_DIR}/view/*_qt.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/input/*_qt.cpp ${CMAKE_CURRENT_SOURCE_DIR}/frame/*_qt.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/controls/*_qt.cpp ${CMAKE_CURRENT_SOURCE_DIR}/controls/*_qt.h
  ${CMAKE_CURRENT_SOURCE_DIR}/frontend/*_qt.h ${CMAKE_CURRENT_SOURCE_DIR}/view/*_qt.h
  ${CMAKE_CURRENT_SOURCE_DIR}/input/*_qt.h ${CMAKE_CURRENT_SOURCE_DIR}/frame/*_qt.h)
add_library(velmoria_shell STATIC ${VELMORIA_SHELL_SOURCES}
  ${CMAKE_CURRENT_SOURCE_DIR}/frontend/shell.qrc)
set_target_properties(velmoria_shell PROPERTIES AUTOMOC ON AUTORCC ON)
# The run's state has a member named `signals`: keep Qt's keywords out of the way.
target_compile_definitions(velmoria_shell PUBLIC QT_NO_KEYWORDS)
target_include_directories(velmoria_shell PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(velmoria_shell PUBLIC velmoria_report velmoria_replay velmoria_core
  velmoria_controls velmoria_route_edit velmoria_media Qt6::Widgets Qt6::SerialPort Qt6::Svg
  Threads::Threads)
