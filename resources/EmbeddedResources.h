#pragma once

// Fonts and the logo compiled into the binary (cmake/Resources.cmake). They are
// found the way Windows finds resources: by name and type, where the name is
// the upper-cased file name ("ROBOTO-REGULAR.TTF") and the type the upper-cased
// extension ("TTF"). Matching ignores case, so the file name the editor asks
// for ("Roboto-Regular.ttf") finds its resource directly.

#include <cstddef>
#include <span>
#include <string_view>

namespace qm::resources
{

struct EmbeddedResource
{
  std::string_view name;
  std::string_view type;
  // The bytes; one zero byte follows them in memory (not part of the span), so
  // text resources can be passed to parsers that expect a C string.
  std::span<const unsigned char> data;
};

// Every embedded resource, in build order. Valid for the life of the program.
std::span<const EmbeddedResource> EmbeddedResources();

// The resource with this name and type (case-insensitive), or null when there
// is none. An empty type matches any type. Safe to call from any thread.
const EmbeddedResource* FindEmbeddedResource(std::string_view name, std::string_view type);

} // namespace qm::resources
