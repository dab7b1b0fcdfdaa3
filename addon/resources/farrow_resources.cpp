// The add-on library's resources: its four menus with their prompt
// strings, the Options and About dialogs, the icon, the registry scripts,
// the type library and the version data, and the feature commands' dialogs
// and strings from their own folders. Linked into the library image, where
// FindResourceW(module, ...) finds them.

#include "addon/content/content_resources.h"
#include "addon/farrow_interfaces.h"
#include "addon/login/login_resources.h"
#include "addon/resources/resource_ids.h"
#include "platform/com/type_library.h"
#include "platform/ui/resource_templates.h"
#include "platform/win/version_resource.h"

namespace {

constexpr MenuTemplateItem kPageMenu[] = {
    MenuItem(ID_SAVE_TABLE_TEXT, u"Save Text in Table..."),
    MenuItem(ID_SAVE_ITEM_TEXT, u"Save Text of Item..."),
    MenuSeparator(),
    MenuItem(ID_GO_SITES, u"Go Registered Sites..."),
    MenuItem(ID_FILL_LOGIN, u"Fill Login Data"),
    MenuItem(ID_SAVE_LOGIN, u"Save Login Data"),
    MenuItem(ID_DELETE_LOGIN, u"Delete Login Data..."),
    MenuSeparator(),
    MenuItem(ID_SHOW_ITEM, u"Show This Item"),
    MenuItem(ID_SHOW_WITHOUT_STYLE, u"Show Without Style"),
    MenuItem(ID_SHOW_ITEM_TEXT, u"Show Text of Item"),
    MenuSeparator(),
    MenuItem(ID_SHOW_TABLE_ITEMS, u"Show Items in Table"),
    MenuItem(ID_SHOW_TABLE_TEXT, u"Show Text in Table"),
    MenuItem(ID_PRINT_ITEM, u"Print Content of Item"),
    MenuSeparator(),
    MenuItem(ID_SPEAK_CONTROL, u"Speak Control"),
    MenuItem(ID_SPEAK_ITEM, u"Speak Text of Item"),
    MenuItem(ID_SPEAK_PAGE, u"Speak Text of Page"),
    MenuSeparator(),
    MenuItem(ID_OPTIONS, u"Options..."),
    MenuItem(ID_SPEECH_SETTING, u"Speech Setting..."),
    MenuItem(ID_ABOUT, u"About Kestro..."),
};

constexpr MenuTemplateItem kSelectionMenu[] = {
    MenuItem(ID_SAVE_SELECTION, u"Save Text of Selection..."),
    MenuItem(ID_SAVE_ITEM_TEXT, u"Save Text of Item..."),
    MenuSeparator(),
    MenuItem(ID_SPEAK_CONTROL, u"Speak Control"),
    MenuItem(ID_SPEAK_SELECTION, u"Speak Text of Selection"),
    MenuSeparator(),
    MenuItem(ID_SEARCH_SELECTION, u"Search Selection on Internet..."),
    MenuSeparator(),
    MenuItem(ID_OPTIONS, u"Options..."),
    MenuItem(ID_SPEECH_SETTING, u"Speak Setting..."),
    MenuItem(ID_ABOUT, u"About Kestro..."),
};

constexpr MenuTemplateItem kControlMenu[] = {
    MenuItem(ID_FILL_LOGIN, u"Fill Login Data"),
    MenuItem(ID_SAVE_LOGIN, u"Save Login Data"),
    MenuItem(ID_DELETE_LOGIN, u"Delete Login Data..."),
    MenuSeparator(),
    MenuItem(ID_SAVE_FORM, u"Save Form Data"),
    MenuItem(ID_FILL_FORM, u"Fill Form Data"),
    MenuItem(ID_INPUT_LOGIN, u"Input Login Data..."),
    MenuSeparator(),
    MenuItem(ID_OPTIONS, u"Options..."),
    MenuItem(ID_ABOUT, u"About Kestro..."),
};

constexpr MenuTemplateItem kLinkMenu[] = {
    MenuItem(ID_SAVE_LINKS_TEXT, u"Save Text of Links..."),
    MenuItem(ID_SHOW_OTHER_LINKS, u"Show Other Links"),
    MenuSeparator(),
    MenuItem(ID_OPTIONS, u"Options..."),
    MenuItem(ID_ABOUT, u"About Kestro..."),
};

constexpr StringResource kStrings[] = {
    {IDS_PRODUCT_NAME, u"Kestro"},
    {IDS_STOP_SPEAKING, u"Stop Speaking"},
    {IDS_RESUME_SPEAKING, u"Resume Speaking"},
    {ID_SAVE_SELECTION, u"Save selected text into a file "},
    {ID_OPTIONS, u"Change Kestro options"},
    {ID_PRINT_ITEM, u"Print the HTML item under the cursor"},
    {ID_ABOUT, u"About information"},
    {ID_SAVE_TABLE_TEXT, u"Save the text in the HTML table under the cursor into a file "},
    {ID_SHOW_TABLE_ITEMS, u"Show only items in the HTML table under the cursor"},
    {ID_SHOW_ITEM, u"Show the HTML item under the cursor"},
    {ID_SHOW_TABLE_TEXT, u"Print text of the table under cursor"},
    {ID_SHOW_ITEM_TEXT, u"Print text of the current item"},
    {ID_SPEAK_ITEM, u"Speak out the text of the HTML item "},
    {ID_SPEECH_SETTING, u"Change speak volume and rate"},
    {ID_SHOW_WITHOUT_STYLE, u"Show this page without style sheets"},
    {ID_SHOW_OTHER_LINKS, u"Show other links related to this article"},
};

constexpr DWORD kButton = WS_TABSTOP;
constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;

constexpr DialogControl kOptionControls[] = {
    {IDOK, ControlKind::DefPushButton, u"OK", 228, 8, 48, 14, kButton},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 228, 28, 48, 14, kButton},
    {IDC_STATIC, ControlKind::GroupBox, u"Options", 8, 4, 208, 108},
    {IDC_APPEND_URL, ControlKind::CheckBox, u"Append URL to saved content", 16, 16, 111, 10,
     kCheckBox},
    {IDC_OPEN_NEW_WINDOW, ControlKind::CheckBox,
     u"Open a new window when a link is clicked.\n(Alt+Click toggles this setting.)", 16, 32, 188,
     16, kCheckBox | BS_MULTILINE},
    {IDC_DBLCLICK_CLOSE, ControlKind::CheckBox,
     u"Close window when double clicked on a blank area.\n(Alt+DblClick temporarily disables this "
     u"behavior.)",
     16, 52, 192, 16, kCheckBox | BS_MULTILINE},
    {IDC_OPEN_PDF_NEW_WINDOW, ControlKind::CheckBox, u"Open PDF links in a new window", 16, 76, 122,
     10, kCheckBox},
    {IDC_ASK_SAVE_LOGIN, ControlKind::CheckBox,
     u"Ask to save login information if it is not saved.", 16, 96, 166, 10, kCheckBox},
    {IDC_STATIC, ControlKind::Static, u"Default folder to save text files:", 8, 120, 124, 8},
    {IDC_SAVE_FOLDER, ControlKind::Edit, u"", 8, 128, 188, 14,
     ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {IDC_BROWSE_FOLDER, ControlKind::PushButton, u"...", 196, 128, 20, 14, kButton},
    {IDC_STATIC, ControlKind::Static,
     u"Maximum number of links for multiple links commands:\n(Show other links, Save text of "
     u"links)",
     8, 152, 184, 20},
    {IDC_MAX_LINKS, ControlKind::Edit, u"", 192, 152, 24, 14, ES_NUMBER | WS_BORDER | WS_TABSTOP},
    {IDC_IMPORT_LOGIN, ControlKind::PushButton, u"Import Login Data...", 228, 68, 48, 18,
     kButton | BS_MULTILINE},
    {IDC_EXPORT_LOGIN, ControlKind::PushButton, u"Export Login Data...", 228, 96, 48, 18,
     kButton | BS_MULTILINE},
    {IDC_INPUT_LOGIN, ControlKind::PushButton, u"Input Login Data...", 228, 124, 48, 18,
     kButton | BS_MULTILINE},
};
constexpr DialogTemplate kOptionDialog = Dialog(u"Kestro - Options", 287, 182, kOptionControls);

constexpr DialogControl kAboutControls[] = {
    {IDOK, ControlKind::DefPushButton, u"OK", 24, 128, 50, 14, kButton},
    {IDC_STATIC, ControlKind::Static, u"Kestro Version 1.0", 16, 40, 132, 28},
    {IDC_STATIC, ControlKind::GroupBox, u"", 7, 7, 149, 145},
    {IDC_STATIC, ControlKind::Icon, u"#128", 68, 20, 0, 0},
    {IDC_KESTRO_HELP, ControlKind::PushButton, u"Kestro Help", 92, 128, 50, 14, kButton},
};
constexpr DialogTemplate kAboutDialog = Dialog(u"About Kestro", 162, 162, kAboutControls);

constexpr unsigned char kIconImage[] = {
#include "addon/resources/kestro_icon.inc"
};
constexpr IconTemplate kIcon{kIconImage, sizeof kIconImage};

// The module's own script: the application id and the Browser Helper
// Object key with the first settings.
constexpr char kModuleScript[] = R"(HKCR
{
    NoRemove AppID
    {
        '%APPID%' = s 'Farrow'
        'Farrow.DLL'
        {
            val AppID = s '%APPID%'
        }
    }
}
HKLM
{
    NoRemove SOFTWARE
    {
        NoRemove Microsoft
        {
            NoRemove Windows
            {
                NoRemove CurrentVersion
                {
                    NoRemove Explorer
                    {
                        NoRemove 'Browser Helper Objects'
                        {
                            '{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}' = s 'Kestro'
                            {
                                val 'Show Saved Text' = d '1'
                                val 'Append URL' = d '1'
                                val 'Append File' = d '0'
                                val 'Record URLs' = d '0'
                                val 'Open New Window' = d '0'
                                val 'Open PDF New Window' = d '0'
                                val 'Double Click Close Window' = d '1'
                                val 'Last File Name' = s ''
                                val 'Maximum Links' = d '15'
                                val 'Ask Save Login' = d '1'
                            }
                        }
                    }
                }
            }
        }
    }
}
)";

constexpr char kEditHtmlScript[] = R"(HKCR
{
    Farrow.EditHtml.1 = s 'EditHtml Class'
    {
        CLSID = s '{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}'
    }
    Farrow.EditHtml = s 'EditHtml Class'
    {
        CLSID = s '{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}'
        CurVer = s 'Farrow.EditHtml.1'
    }
    NoRemove CLSID
    {
        ForceRemove {B5B24C3A-6312-4861-A9A1-A3A1EB0A1916} = s 'EditHtml Class'
        {
            ProgID = s 'Farrow.EditHtml.1'
            VersionIndependentProgID = s 'Farrow.EditHtml'
            ForceRemove 'Programmable'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            val AppID = s '%APPID%'
            'TypeLib' = s '{E3C9008A-0B71-4BE5-BD31-9B14BA566F29}'
        }
    }
}
)";

constexpr char kDocEventSinkScript[] = R"(HKCR
{
    Farrow.DocEventSink.1 = s 'DocEventSink Class'
    {
        CLSID = s '{6A58E7E0-123B-43D5-8704-1FD003699EB9}'
    }
    Farrow.DocEventSink = s 'DocEventSink Class'
    {
        CLSID = s '{6A58E7E0-123B-43D5-8704-1FD003699EB9}'
        CurVer = s 'Farrow.DocEventSink.1'
    }
    NoRemove CLSID
    {
        ForceRemove {6A58E7E0-123B-43D5-8704-1FD003699EB9} = s 'DocEventSink Class'
        {
            ProgID = s 'Farrow.DocEventSink.1'
            VersionIndependentProgID = s 'Farrow.DocEventSink'
            ForceRemove 'Programmable'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            val AppID = s '%APPID%'
            'TypeLib' = s '{E3C9008A-0B71-4BE5-BD31-9B14BA566F29}'
        }
    }
}
)";

constexpr TypeLibImport kImports[] = {kStdOleImport};
constexpr TypeLibInterface kInterfaces[] = {
    {IID_IEditHtml, u"IEditHtml", u"IEditHtml Interface"},
    {IID_IDocEventSink, u"IDocEventSink", u"IDocEventSink Interface"},
};
constexpr TypeLibCoClass kClasses[] = {
    {CLSID_EditHtml, u"EditHtml", u"EditHtml Class", IID_IEditHtml},
    {CLSID_DocEventSink, u"DocEventSink", u"DocEventSink Class", IID_IDocEventSink},
};
constexpr TypeLibTemplate kTypeLib =
    TypeLib(LIBID_FarrowLib, 1, 0, u"FarrowLib", u"Farrow 1.0 Type Library", kImports, kInterfaces,
            kClasses);

constexpr VersionString kVersionStrings[] = {
    {u"FileDescription", u"Kestro"},  {u"ProductName", u"Kestro"},
    {u"FileVersion", u"1.0.0.0"},     {u"ProductVersion", u"1.0.0.0"},
    {u"InternalName", u"Farrow.dll"}, {u"OriginalFilename", u"Farrow.dll"},
};
constexpr VersionResource kVersion = Version({3, 2, 0, 0}, {1, 0, 0, 0}, kVersionStrings, VFT_DLL);

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(RT_MENU_ID, IDR_MENU_PAGE, kPageMenu),
    ResourceEntry(RT_MENU_ID, IDR_MENU_SELECTION, kSelectionMenu),
    ResourceEntry(RT_MENU_ID, IDR_MENU_CONTROL, kControlMenu),
    ResourceEntry(RT_MENU_ID, IDR_MENU_LINK, kLinkMenu),
    ResourceEntry(RT_STRING_ID, 1, kStrings),
    ResourceEntry(RT_DIALOG_ID, IDD_OPTION, kOptionDialog),
    ResourceEntry(RT_DIALOG_ID, IDD_ABOUTBOX, kAboutDialog),
    ResourceEntry(RT_GROUP_ICON_ID, IDI_KESTRO, kIcon),
    ResourceEntry(u"REGISTRY", IDR_FARROW, kModuleScript),
    ResourceEntry(u"REGISTRY", IDR_EDITHTML, kEditHtmlScript),
    ResourceEntry(u"REGISTRY", IDR_DOCEVENTSINK, kDocEventSinkScript),
    ResourceEntry(u"TYPELIB", 1, kTypeLib),
    ResourceEntry(RT_VERSION_ID, 1, kVersion),
    FARROW_LOGIN_RESOURCE_ENTRIES
    FARROW_CONTENT_RESOURCE_ENTRIES
};

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)
