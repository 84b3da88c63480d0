# The main list's refresh against a plain read of the same rows.
if(TARGET orvel_sampledata)
  add_executable(bench_list_refresh ${CMAKE_CURRENT_LIST_DIR}/list_refresh/main.cpp)
  target_link_libraries(bench_list_refresh PRIVATE orvel_sampledata orvel_core)
  if(TARGET orvel_runtime_files)
    add_dependencies(bench_list_refresh orvel_runtime_files)
  endif()
endif()
