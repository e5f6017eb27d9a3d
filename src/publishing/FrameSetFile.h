#pragma once

#include <QString>

// Writes the frame set of a published site to `path`: the navigation page beside a frame named
// "Content" that shows the plan's main page, both in the folder of `path`. 0 done, 1 failed
// (logged).
long WriteFrameSetFile(const QString& path, const QString& planId);
