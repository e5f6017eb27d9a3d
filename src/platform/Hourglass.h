#pragma once

// The screen's mouse pointer: one state, either the hourglass or the default. Setting it twice
// and resetting once gives the default again, as the start-up and login code expect.
class Hourglass
{
public:
    static void Set();
    static void Reset();
    static bool IsSet();
};
