# What another process meets while a window waits, as a screen reader asks: started on its
# window by the copy benchmark and by the Windows window tests, from the folder they are in.
if(NOT TARGET window_pinger)
    add_executable(window_pinger ${PROJECT_SOURCE_DIR}/bench/win32/window_pinger.cpp)
    target_link_libraries(window_pinger PRIVATE velmora_warnings)
    set_target_properties(window_pinger PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                   ${CMAKE_CURRENT_BINARY_DIR})
endif()
