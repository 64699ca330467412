# The recording session and the structure fragments: the pure parts natively and under Wine;
# the exports as a host calls them, against the kernel stand-in; the save dialog, the failed
# write message and the apply question driven under Xvfb.
kv_add_test(recording_session_core_test SOURCES session_text_test.cpp
            LIBS kv_recording_session_core)

if(WIN32)
    # Expected scenario files in Windows-1251.
    set(golden_dir ${CMAKE_CURRENT_BINARY_DIR}/golden)
    file(GLOB golden_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/golden/*.txt)
    kv_cp1251_goldens(kv_session_golden ${golden_dir} ${golden_sources})

    add_library(kv_session_test_support STATIC golden.cpp host_library.cpp session_fixture.cpp
                                               fake_kernel.cpp)
    target_link_libraries(kv_session_test_support
        PUBLIC kv_kernel_idl GTest::gtest ole32 oleaut32 uuid
        PRIVATE kv_options)
    # Under Wine an absolute Unix path is reached through drive Z:.
    target_compile_definitions(kv_session_test_support PRIVATE
                               KV_SESSION_GOLDEN_DIR="Z:${golden_dir}/")
    # The tests load korvalith.dll and the registered kernel stand-in from the bin folder.
    add_dependencies(kv_session_test_support kv_session_golden korvalith zkernel)

    kv_add_test(recording_session_test
                SOURCES recording_session_test.cpp link_events_test.cpp
                        ../common/file_dialog_driver.cpp ../common/dialog_driver.cpp
                LIBS kv_session_test_support shell32)
    kv_add_test(recording_session_ui_test
                SOURCES save_dialog_test.cpp ../common/dialog_driver.cpp
                        ../common/file_dialog_driver.cpp
                LIBS kv_session_test_support shell32 comdlg32 user32
                LABELS ui
                RESOURCE_LOCK display)
    # The apply path runs a scenario in the Script Control: the CTest timeout is its watchdog.
    kv_add_test(recording_apply_test
                SOURCES apply_test.cpp ../common/dialog_driver.cpp ../common/file_dialog_driver.cpp
                LIBS kv_session_test_support kv_recording
                LABELS ui
                RESOURCE_LOCK display
                TIMEOUT 60)
endif()
