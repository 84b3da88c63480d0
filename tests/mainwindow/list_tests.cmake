orvel_test(tst_deadlinelist SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_deadlinelist.cpp)
target_compile_definitions(tst_deadlinelist PRIVATE ORVEL_ICON_DIR="${PROJECT_SOURCE_DIR}/resources/icons")
