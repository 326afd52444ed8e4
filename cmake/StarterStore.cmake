# The starter puzzles: make_starter_store turns the readable list
# res/puzzles/starter_puzzles.txt into MVStarters.dat, the scrambled store the
# game takes in where a player has no puzzles yet, made with the game's own
# scrambling code. A cross build cannot run a tool it builds: the native build
# that drives it hands its own in.
if(CMAKE_CROSSCOMPILING)
  set(MARIVANE_STORE_TOOL "" CACHE FILEPATH "A native make_starter_store, which makes MVStarters.dat")
else()
  add_executable(make_starter_store res/puzzles/make_starter_store.cpp)
  target_link_libraries(make_starter_store PRIVATE marivane_game)
  set(MARIVANE_STORE_TOOL make_starter_store)
endif()

set(MARIVANE_STARTERS ${CMAKE_BINARY_DIR}/MVStarters.dat)
if(MARIVANE_STORE_TOOL)
  set(starter_list ${CMAKE_SOURCE_DIR}/res/puzzles/starter_puzzles.txt)
  add_custom_command(OUTPUT ${MARIVANE_STARTERS}
      COMMAND ${MARIVANE_STORE_TOOL} ${starter_list} ${MARIVANE_STARTERS}
      DEPENDS ${MARIVANE_STORE_TOOL} ${starter_list}
      COMMENT "Making the starter puzzle store MVStarters.dat" VERBATIM)
  add_custom_target(starter_store ALL DEPENDS ${MARIVANE_STARTERS})
else()
  message(WARNING "No MARIVANE_STORE_TOOL: no starter puzzles and no release. Build natively "
      "instead (the native build cross-builds Marivane.exe), or pass a native make_starter_store.")
endif()
