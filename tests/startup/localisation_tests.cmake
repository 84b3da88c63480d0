# Resource texts, language choice and the language menu.
orvel_test(tst_resourcetext SOURCES tst_resourcetext.cpp)
