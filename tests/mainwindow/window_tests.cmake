# The main window, driven offscreen against a copy of the template database.
orvel_test(tst_frmmain UI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frmmain.cpp)
orvel_test(tst_frmmainlayout UI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frmmainlayout.cpp)
orvel_test(tst_userjourney UI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_userjourney.cpp)
