#include "graphics/IPopupMenu.h"

#include <cstdio>

namespace kit::gfx
{

IPopupMenu::Item::Item(const char* text, bool enabled, bool checked)
    : mText(text ? text : ""), mEnabled(enabled), mChecked(checked)
{
}

IPopupMenu::Item::Item(const char* text, std::unique_ptr<IPopupMenu> subMenu)
    : mText(text ? text : ""), mSubMenu(std::move(subMenu))
{
}

IPopupMenu::IPopupMenu(const char* rootTitle, std::initializer_list<const char*> items,
                       MenuFunc func)
    : mRootTitle(rootTitle ? rootTitle : ""), mMenuFunc(std::move(func))
{
  for (const char* text : items)
    AddItem(text);
}

IPopupMenu::Item* IPopupMenu::AddItem(const char* text, bool enabled, bool checked)
{
  mItems.push_back(std::make_unique<Item>(text, enabled, checked));
  return mItems.back().get();
}

IPopupMenu::Item* IPopupMenu::AddSubMenu(const char* text, std::unique_ptr<IPopupMenu> subMenu)
{
  mItems.push_back(std::make_unique<Item>(text, std::move(subMenu)));
  return mItems.back().get();
}

IPopupMenu::Item* IPopupMenu::AddSeparator()
{
  auto item = std::make_unique<Item>("", false);
  item->mIsSeparator = true;
  mItems.push_back(std::move(item));
  return mItems.back().get();
}

void IPopupMenu::Clear()
{
  mItems.clear();
  mChosenItemIdx = -1;
}

IPopupMenu::Item* IPopupMenu::GetItem(int index) const
{
  if (index < 0 || index >= NItems()) return nullptr;
  return mItems[static_cast<size_t>(index)].get();
}

const char* IPopupMenu::GetItemText(int index) const
{
  const Item* item = GetItem(index);
  return item ? item->GetText().c_str() : "";
}

void IPopupMenu::CheckItem(int index, bool checked)
{
  if (Item* item = GetItem(index)) item->SetChecked(checked);
}

void IPopupMenu::CheckItemAlone(int index)
{
  for (int i = 0; i < NItems(); ++i)
    mItems[static_cast<size_t>(i)]->SetChecked(i == index);
}

bool IPopupMenu::IsItemChecked(int index) const
{
  const Item* item = GetItem(index);
  return item && item->GetChecked();
}

std::string IPopupMenu::GetDisplayText(int index) const
{
  const char* text = GetItemText(index);
  static constexpr const char* kFormats[] = {"%1d: %s", "%02d: %s", "%03d: %s"};
  if (mPrefix < 1 || mPrefix > 3) return text;
  char buf[512];
  std::snprintf(buf, sizeof(buf), kFormats[mPrefix - 1], index, text);
  return buf;
}

void IPopupMenu::ExecFunction()
{
  if (mMenuFunc) mMenuFunc(this);
}

} // namespace kit::gfx
