# A grouped 10,000-row report laid out and painted into a PDF, against measuring
# its texts alone; with --pdf it writes a sample report to look at.
add_executable(bench_report_layout
  ${CMAKE_CURRENT_LIST_DIR}/report_layout/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_layout/SampleReport.h
  ${CMAKE_CURRENT_LIST_DIR}/report_layout/SampleReport.cpp)
target_link_libraries(bench_report_layout PRIVATE orvel_ui)
target_compile_definitions(bench_report_layout PRIVATE
  ORVEL_TEXTS_TSV="${PROJECT_SOURCE_DIR}/resources/texts/texts.tsv"
  ORVEL_ICONS_DIR="${PROJECT_SOURCE_DIR}/resources/icons")
