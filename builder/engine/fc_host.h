// What the engine asks of the program around it beside the reporter: the builder's window while
// a test action runs another program. The wizard implements it over its main window; scrkit-cli
// has no window and does nothing.
#pragma once

class FCHost {
public:
    virtual ~FCHost() = default;
    // Around a setup program's run: the builder's window out of the way, and back.
    virtual void hide_window() = 0;
    virtual void show_window() = 0;
    // Called every 50 ms while a started program runs, so that the window keeps painting.
    virtual void keep_painted() = 0;
};
