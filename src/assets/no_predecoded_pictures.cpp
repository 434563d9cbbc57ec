// The predecoded pictures of a build that decodes them at run time instead (a cross build).
#include "assets/embedded.hpp"

namespace tav::assets::predecoded {

const std::span<const PredecodedPicture> kPictures{};

} // namespace tav::assets::predecoded
