# The main window and its widget-free helpers.
target_sources(orvel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowLayout.h ${CMAKE_CURRENT_LIST_DIR}/MainWindowLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowSettings.h ${CMAKE_CURRENT_LIST_DIR}/MainWindowSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTasksPresenter.h ${CMAKE_CURRENT_LIST_DIR}/MainWindowTasksPresenter.cpp
)
target_sources(orvel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmMain.h ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmMainList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmMainCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmMainCalendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmMainIcons.cpp
)
