// The browser's own context menus, as the resource-only module
// "SHDOCLC.DLL": menu 24641 holds one popup per context id, in context id
// order. Add-ons load it to build on the browser's menu.
#include "platform/browser/doc_host_ui.h"
#include "platform/ui/resource_templates.h"

namespace {

constexpr MenuTemplateItem kDefault[] = {
    MenuItem(IDM_GOBACKWARD, u"Back"),
    MenuItem(IDM_GOFORWARD, u"Forward"),
    MenuSeparator(),
    MenuItem(IDM_SELECTALL, u"Select All"),
    MenuSeparator(),
    MenuItem(IDM_LANGUAGE, u"Encoding"),
    MenuSeparator(),
    MenuItem(IDM_PRINT, u"Print..."),
    MenuItem(IDM_REFRESH, u"Refresh"),
    MenuSeparator(),
    MenuItem(IDM_VIEWSOURCE, u"View Source"),
    MenuSeparator(),
    MenuItem(IDM_PROPERTIES, u"Properties"),
};

constexpr MenuTemplateItem kImage[] = {
    MenuItem(IDM_COPY, u"Copy"),
    MenuSeparator(),
    MenuItem(IDM_PRINT, u"Print..."),
    MenuSeparator(),
    MenuItem(IDM_PROPERTIES, u"Properties"),
};

constexpr MenuTemplateItem kControl[] = {
    MenuItem(IDM_COPY, u"Copy"),
    MenuSeparator(),
    MenuItem(IDM_SELECTALL, u"Select All"),
    MenuSeparator(),
    MenuItem(IDM_PROPERTIES, u"Properties"),
};

constexpr MenuTemplateItem kTable[] = {
    MenuItem(IDM_GOBACKWARD, u"Back"),
    MenuItem(IDM_GOFORWARD, u"Forward"),
    MenuSeparator(),
    MenuItem(IDM_COPY, u"Copy"),
    MenuItem(IDM_SELECTALL, u"Select All"),
    MenuSeparator(),
    MenuItem(IDM_LANGUAGE, u"Encoding"),
    MenuSeparator(),
    MenuItem(IDM_PRINT, u"Print..."),
    MenuItem(IDM_REFRESH, u"Refresh"),
    MenuSeparator(),
    MenuItem(IDM_VIEWSOURCE, u"View Source"),
    MenuSeparator(),
    MenuItem(IDM_PROPERTIES, u"Properties"),
};

constexpr MenuTemplateItem kTextSelection[] = {
    MenuItem(IDM_COPY, u"Copy"),
    MenuItem(IDM_SELECTALL, u"Select All"),
    MenuSeparator(),
    MenuItem(IDM_LANGUAGE, u"Encoding"),
    MenuSeparator(),
    MenuItem(IDM_PRINT, u"Print..."),
};

constexpr MenuTemplateItem kAnchor[] = {
    MenuItem(IDM_FOLLOWLINKC, u"Open Link"),
    MenuItem(IDM_FOLLOWLINKN, u"Open in New Window"),
    MenuSeparator(),
    MenuItem(IDM_COPY, u"Copy"),
    MenuSeparator(),
    MenuItem(IDM_PRINT, u"Print..."),
    MenuSeparator(),
    MenuItem(IDM_PROPERTIES, u"Properties"),
};

constexpr MenuTemplateItem kContextMenus[] = {
    MenuPopup(u"Default", kDefault),         MenuPopup(u"Image", kImage),
    MenuPopup(u"Control", kControl),         MenuPopup(u"Table", kTable),
    MenuPopup(u"Selection", kTextSelection), MenuPopup(u"Anchor", kAnchor),
};

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(RT_MENU_ID, IDR_BROWSE_CONTEXT_MENU, kContextMenus),
};

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)
