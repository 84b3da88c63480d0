# The list's exports, text and calendar, against writing the same rows as plain text.
add_executable(bench_export ${CMAKE_CURRENT_LIST_DIR}/export/main.cpp)
target_link_libraries(bench_export PRIVATE orvel_core)
