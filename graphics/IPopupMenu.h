#pragma once

// A menu the graphics context asks the platform to show. Items may carry sub-menus; the platform
// records the chosen item in the menu that holds it and then runs that menu's function.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kit::gfx
{

class IPopupMenu
{
public:
  class Item
  {
  public:
    explicit Item(const char* text, bool enabled = true, bool checked = false);
    Item(const char* text, std::unique_ptr<IPopupMenu> subMenu);

    const std::string& GetText() const { return mText; }
    void SetText(const char* text) { mText = text ? text : ""; }
    bool GetEnabled() const { return mEnabled; }
    void SetEnabled(bool enabled) { mEnabled = enabled; }
    bool GetChecked() const { return mChecked; }
    void SetChecked(bool checked) { mChecked = checked; }
    bool GetIsSeparator() const { return mIsSeparator; }
    IPopupMenu* GetSubmenu() const { return mSubMenu.get(); }

  private:
    friend class IPopupMenu;
    std::string mText;
    bool mEnabled = true;
    bool mChecked = false;
    bool mIsSeparator = false;
    std::unique_ptr<IPopupMenu> mSubMenu;
  };

  using MenuFunc = std::function<void(IPopupMenu* pMenu)>;

  explicit IPopupMenu(const char* rootTitle = "", std::initializer_list<const char*> items = {},
                      MenuFunc func = nullptr);

  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  /** Appends; returns the new item. */
  Item* AddItem(const char* text, bool enabled = true, bool checked = false);
  Item* AddSubMenu(const char* text, std::unique_ptr<IPopupMenu> subMenu);
  Item* AddSeparator();
  void Clear();

  int NItems() const { return static_cast<int>(mItems.size()); }
  /** Null when the index is out of range. */
  Item* GetItem(int index) const;
  /** Empty when the index is out of range. */
  const char* GetItemText(int index) const;
  void CheckItem(int index, bool checked);
  /** Checks `index` and unchecks every other item. */
  void CheckItemAlone(int index);
  bool IsItemChecked(int index) const;

  /** -1 when nothing was chosen. */
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }
  /** The chosen item, or null when none (or out of range). */
  Item* GetChosenItem() const { return GetItem(mChosenItemIdx); }

  const std::string& GetRootTitle() const { return mRootTitle; }
  void SetRootTitle(const char* title) { mRootTitle = title ? title : ""; }

  /** 0: no prefix; 1, 2, 3: item texts shown as "%1d: %s", "%02d: %s", "%03d: %s". */
  int GetPrefix() const { return mPrefix; }
  void SetPrefix(int prefix) { mPrefix = prefix; }
  /** The text as shown, with the prefix applied. */
  std::string GetDisplayText(int index) const;

  void SetFunction(MenuFunc func) { mMenuFunc = std::move(func); }
  bool HasFunction() const { return static_cast<bool>(mMenuFunc); }
  void ExecFunction();

private:
  std::string mRootTitle;
  std::vector<std::unique_ptr<Item>> mItems;
  int mChosenItemIdx = -1;
  int mPrefix = 0;
  MenuFunc mMenuFunc;
};

} // namespace kit::gfx
