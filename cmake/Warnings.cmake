# Every target of ours gets the same warnings; CI turns them into errors.
add_library(velmora_warnings INTERFACE)
if(MSVC)
    target_compile_options(velmora_warnings INTERFACE /W4 /utf-8)
    if(VELMORA_WERROR)
        target_compile_options(velmora_warnings INTERFACE /WX)
    endif()
else()
    target_compile_options(velmora_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                      -Wconversion -Wno-sign-conversion)
    if(VELMORA_WERROR)
        target_compile_options(velmora_warnings INTERFACE -Werror)
    endif()
endif()
if(VELMORA_SANITIZE)
    target_compile_options(velmora_warnings INTERFACE -fsanitize=address,undefined
                                                      -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(velmora_warnings INTERFACE -fsanitize=address,undefined)
endif()
