#pragma once

// A window of the program as the window registry (Forms) sees it: loaded on first use, which runs its
// load handler, and unloaded at most once, which runs its unload handler.
class Form
{
public:
    virtual ~Form() = default;
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
};
