#pragma once

// The window's title and the program's name, where both the C++ code and the Windows resource
// script (which windres reads with the C preprocessor) take them: each stands once. UTF-8.
#define VOCABUNTA_TITLE "Вокабунта 1.0 (5.9.2003)"
#define VOCABUNTA_NAME "Вокабунта"
