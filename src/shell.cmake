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

# The English translation: velmoria_en.ts (kept in the repository, refreshed from the sources
# by scripts/update-translations or the velmoria_lupdate target) becomes velmoria_en.qm, built
# into the shell's resources (so the build tree finds it) and installed beside the program.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
set(VELMORIA_TS_FILES ${PROJECT_SOURCE_DIR}/translations/velmoria_en.ts)
set_source_files_properties(${VELMORIA_TS_FILES} PROPERTIES
  OUTPUT_LOCATION ${PROJECT_BINARY_DIR}/translations)
qt_add_lrelease(velmoria_shell TS_FILES ${VELMORIA_TS_FILES} OPTIONS -silent
  QM_FILES_OUTPUT_VARIABLE VELMORIA_QM_FILES)
qt_add_resources(velmoria_shell velmoria_translations PREFIX /velmoria/translations
  BASE ${PROJECT_BINARY_DIR}/translations FILES ${VELMORIA_QM_FILES})
install(FILES ${VELMORIA_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmoria/translations)
add_custom_target(velmoria_lupdate
  COMMAND ${CMAKE_COMMAND} -E env LUPDATE=$<TARGET_FILE:Qt6::lupdate>
          ${PROJECT_SOURCE_DIR}/scripts/update-translations ${VELMORIA_TS_FILES}
  COMMENT "Refreshing translations/velmoria_en.ts from the sources" VERBATIM)
