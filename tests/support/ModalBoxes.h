#pragma once
#include <string>

// Modal boxes the test thread shows (message boxes, and dialogs run over a
// window they disable) are closed from inside their modal loop at the next
// tick of a 50 ms timer, so that no test waits for a click that never comes.
// A ModalCloser in scope expects them and remembers the last one; without
// one, a box fails the running test with its caption and text.
class ModalCloser {
public:
    ModalCloser();
    ~ModalCloser();
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;
    std::string text, caption;
    int shown = 0;
};

// Watches every test of the program for boxes nobody expected; once, from main.
void WatchForUnexpectedModalBoxes();
