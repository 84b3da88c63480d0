# The widget-free logic of the main deadline list.
target_sources(orvel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DeadlineList.h ${CMAKE_CURRENT_LIST_DIR}/DeadlineList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeadlineListPresenter.h ${CMAKE_CURRENT_LIST_DIR}/DeadlineListPresenter.cpp
)

# The 13 pictures of the list's image list, as ":/icons/<name>.svg".
set(orvel_list_icons
  group calendar note search credit_open debit_open appointment_open info
  recurrence_open debit_closed credit_closed appointment_closed recurrence_closed)
list(TRANSFORM orvel_list_icons PREPEND ${PROJECT_SOURCE_DIR}/resources/icons/)
list(TRANSFORM orvel_list_icons APPEND .svg)
qt_add_resources(orvel_ui "icons"
  PREFIX "/icons"
  BASE ${PROJECT_SOURCE_DIR}/resources/icons
  FILES ${orvel_list_icons})
