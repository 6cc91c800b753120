orvalin_bench(table_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/table_bench.cpp
                                  ${CMAKE_CURRENT_SOURCE_DIR}/progress_bench.cpp
              LIBS orvalin_chart)
target_include_directories(table_bench PRIVATE ${PROJECT_SOURCE_DIR})
