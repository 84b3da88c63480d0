# The data-bound grid: the model is widget-free, the list widget draws it.
target_sources(orvel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/GridPresenter.h ${CMAKE_CURRENT_LIST_DIR}/GridPresenter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridModel.h ${CMAKE_CURRENT_LIST_DIR}/GridModel.cpp
)
