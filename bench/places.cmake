orvalin_bench(places_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/places_bench.cpp
              LIBS orvalin_testsupport)
target_include_directories(places_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(places_bench PRIVATE
  ORVALIN_SAMPLE_DAT="${PROJECT_BINARY_DIR}/sample/location.dat"
  ORVALIN_WORLD_PLACES_CSV="${PROJECT_SOURCE_DIR}/data/world-places.csv")
add_dependencies(places_bench sample_places)
