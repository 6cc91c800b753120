orvalin_bench(engine_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/engine_bench.cpp
              LIBS orvalin_testsupport)
target_include_directories(engine_bench PRIVATE ${PROJECT_SOURCE_DIR})
