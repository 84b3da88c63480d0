# Resource texts in five languages, the language choice and the language menu's
# logic. The text table is compiled into the program, so no start can lose it.
target_sources(orvel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ResourceText.h ${CMAKE_CURRENT_LIST_DIR}/ResourceText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LanguageMenu.h ${CMAKE_CURRENT_LIST_DIR}/LanguageMenu.cpp
)
qt_add_resources(orvel_core "texts"
  PREFIX "/texts"
  BASE ${PROJECT_SOURCE_DIR}/resources/texts
  FILES ${PROJECT_SOURCE_DIR}/resources/texts/texts.tsv
)
