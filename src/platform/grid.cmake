# The data-bound grid: the model is widget-free, the list widget draws it.
target_sources(orvel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/GridPresenter.h ${CMAKE_CURRENT_LIST_DIR}/GridPresenter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridModel.h ${CMAKE_CURRENT_LIST_DIR}/GridModel.cpp
)
target_sources(orvel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DataGrid.h ${CMAKE_CURRENT_LIST_DIR}/DataGrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridView.h ${CMAKE_CURRENT_LIST_DIR}/GridView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridDelegate.h ${CMAKE_CURRENT_LIST_DIR}/GridDelegate.cpp
)
