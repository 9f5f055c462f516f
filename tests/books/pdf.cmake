# SPDX-License-Identifier: GPL-3.0-or-later
# GUI: the test writes its PDFs with Qt's PDF writer.
skimmet_test(NAME pdf_tests GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/PdfTextTests.cpp
             LIBS skimmet_book_readers)
