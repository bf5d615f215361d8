# Installs the build into a fresh prefix and has the installed korvel-sandbox load the installed
# plug-in. Run by ctest: cmake -DBUILD_DIR=<build> -DPREFIX=<folder> -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_VARIABLE installLog ERROR_VARIABLE installLog)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${installLog}")
endif()

foreach(file bin/korvel-sandbox bin/plugins/libKVLinkageSection.so
             bin/plugins/KVLinkageSection.rcc lib/libKVPluginQt.so.1)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "the installed tree lacks ${file}")
    endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/korvel-sandbox" -platform offscreen --check-plugins
                        --settings "${PREFIX}/check.ini"
                RESULT_VARIABLE checked OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT checked EQUAL 0)
    message(FATAL_ERROR "the installed sandbox did not start the installed plug-in:\n${out}${err}")
endif()
string(FIND "${out}" "started: ${PREFIX}/bin/plugins/libKVLinkageSection.so" found)
if(found EQUAL -1)
    message(FATAL_ERROR "the installed sandbox started another plug-in:\n${out}")
endif()
message(STATUS "${out}")
