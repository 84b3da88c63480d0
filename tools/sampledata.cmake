# The sample-data generator: a small library shared with the list benchmark, and
# the command-line tool orvel2-sampledata (built into ORVEL_RUNTIME_DIR, beside master.gen).
add_library(orvel_sampledata STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sampledata/SampleData.h
  ${CMAKE_CURRENT_LIST_DIR}/sampledata/SampleData.cpp)
target_include_directories(orvel_sampledata PUBLIC ${CMAKE_CURRENT_LIST_DIR}/sampledata)
target_link_libraries(orvel_sampledata PUBLIC orvel_core Qt6::Sql)

add_executable(orvel2-sampledata ${CMAKE_CURRENT_LIST_DIR}/sampledata/main.cpp)
target_link_libraries(orvel2-sampledata PRIVATE orvel_sampledata)
if(TARGET orvel_runtime_files)
  add_dependencies(orvel2-sampledata orvel_runtime_files)
endif()
