// The application icon: the setting sun over the calm sea beside the town.
#pragma once

#include <QImage>

namespace yuunagi::art {

// The icon sizes a desktop theme asks for; the largest is the main icon.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon drawn afresh at `size` px square (not scaled down from a larger
// one, so the small sizes stay crisp).
QImage DrawAppIcon(int size);

}  // namespace yuunagi::art
