# Shared lookups over the project database.
target_sources(vamor_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Lookups.cpp ${CMAKE_CURRENT_LIST_DIR}/Lookups.h
)
