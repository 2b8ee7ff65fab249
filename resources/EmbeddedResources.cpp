#include "resources/EmbeddedResources.h"

#include <algorithm>
#include <cctype>

namespace qm::resources
{

// Defined in the table generated at build time.
std::span<const EmbeddedResource> EmbeddedResourceTable();

namespace
{

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
  return std::ranges::equal(a, b,
                            [](char x, char y)
                            {
                              return std::toupper(static_cast<unsigned char>(x)) ==
                                     std::toupper(static_cast<unsigned char>(y));
                            });
}

} // namespace

std::span<const EmbeddedResource> EmbeddedResources()
{
  return EmbeddedResourceTable();
}

const EmbeddedResource* FindEmbeddedResource(std::string_view name, std::string_view type)
{
  for (const EmbeddedResource& resource : EmbeddedResourceTable())
  {
    if (EqualIgnoringCase(resource.name, name) &&
        (type.empty() || EqualIgnoringCase(resource.type, type)))
      return &resource;
  }
  return nullptr;
}

} // namespace qm::resources
