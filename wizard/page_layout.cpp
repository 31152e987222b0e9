#include "wizard/page_layout.h"

#include <span>
#include <string>

namespace rg::wizard {
namespace {

using platform::Bounds;
using platform::Control;
using platform::ControlKind;
using platform::Form;

struct ControlDesign {
    ControlKind kind;
    const char* name;
    Bounds bounds;
    const char* caption;
    const char* tag;
};

constexpr ControlKind kLabel = ControlKind::Label;
constexpr ControlKind kOption = ControlKind::OptionButton;
constexpr ControlKind kText = ControlKind::TextBox;
constexpr ControlKind kPicture = ControlKind::Picture;
constexpr ControlKind kButton = ControlKind::CommandButton;
constexpr ControlKind kList = ControlKind::ListView;

constexpr Bounds kPageIcon{60, 60, 480, 480};

// Page titles are bold 12-point and centred over the page, clear of the page icon at its top
// left; everything else keeps the window's normal font.
bool IsPageTitle(const std::string& name) {
    return name.starts_with("lbPage") && name.ends_with("Header");
}

void StyleControl(Control& control) {
    if (IsPageTitle(control.name())) {
        platform::Font title;
        title.pointSize = 12;
        title.bold = true;
        control.setFont(title);
        control.setAlignment(platform::TextAlignment::Center);
    }
    if (control.kind() == kLabel || control.kind() == kOption) {
        control.setBackColor(platform::kWhite);  // white over the white page
    }
}

Control& AddPage(Form& form, const char* frameName, std::span<const ControlDesign> designs) {
    Control& frame = form.AddControl(ControlKind::Frame, frameName);
    frame.setBounds(kPageArea);
    frame.setBackColor(platform::kWhite);
    frame.setVisible(false);
    for (const ControlDesign& design : designs) {
        Control& control = form.AddControl(design.kind, design.name, &frame);
        control.setBounds(design.bounds);
        control.setCaption(design.caption);
        control.setTag(design.tag);
        StyleControl(control);
    }
    return frame;
}

// The first description takes three lines: it starts right below the two lines of the header.
const ControlDesign kPage1[] = {
    {kLabel, "lbPage1Header", {180, 180, 5175, 405}, "Welcome to Ravelgard", "5101"},
    {kLabel, "lbPage1Header2", {120, 600, 5205, 480}, "Welcome To Ravelgard", "5102"},
    {kLabel, "lbPage1Desc", {120, 1080, 5505, 630}, "-----", "5103"},
    {kLabel, "lbPage1Desc1", {120, 1710, 5505, 705}, "---", "5105"},
    {kLabel, "lbPage1Desc2", {120, 2550, 5505, 525}, "---", "5106"},
    {kLabel, "lbPage1Footer", {120, 3800, 5500, 195}, "-----", "5104"},
    {kPicture, "imgPage1", kPageIcon, "", "5100"},
};

const ControlDesign kPage3[] = {
    {kLabel, "lbPage3Header", {570, 120, 4815, 405}, "Alerts && Logs", "5301"},
    {kLabel, "lbPage3Header2", {120, 600, 5205, 675}, "Alerts && Logs", "5302"},
    {kOption, "optAlertAlltime", {120, 1200, 4485, 285}, "-----", "5303"},
    {kOption, "optAlertDoNot", {120, 1590, 4425, 375}, "-----", "5305"},
    {kLabel, "lbPage3Desc", {120, 2130, 5295, 465}, "-----", "5306"},
    {kLabel, "lbPage3Desc1", {120, 2580, 5295, 465}, "----", "5308"},
    {kLabel, "lbPage3Desc2", {120, 3120, 5295, 465}, "----", "5309"},
    {kLabel, "lbPage3Footer", {120, 3800, 5300, 195}, "------", "5307"},
    {kPicture, "imgPage3", kPageIcon, "", "5300"},
};

constexpr const char* kLeaveBlank =
    "Please leave both the fields blank and press Next, if you do not like to protect by "
    "password.";

// The built-in prompt above the password box takes two lines.
const ControlDesign kPage4[] = {
    {kLabel, "lbPage4Header", {180, 180, 5175, 405}, "Password Protection", "5401"},
    {kLabel,
     "lbPage4Header2",
     {120, 600, 5205, 390},
     "Protect your Thornveil by password. Which protects to change the settings by any else.",
     "5402"},
    {kLabel,
     "lbPage4Desc1",
     {120, 990, 5205, 390},
     "Please Enter your password. (Password must be at least 5 characters)",
     "5403"},
    {kText, "txtPassword", {120, 1380, 2295, 285}, "", "5404"},
    {kLabel, "lbPage4Desc2", {120, 1680, 4905, 225}, "Confirm your Password", "5405"},
    {kText, "txtConfirmPass", {120, 1920, 2295, 285}, "", "5406"},
    {kLabel, "lbPage4Desc", {120, 2280, 5295, 465}, kLeaveBlank, "5407"},
    {kLabel, "lbPage4Desc3", {120, 2790, 5295, 945}, kLeaveBlank, "5409"},
    {kLabel, "lbPage4Footer", {120, 3800, 5300, 195}, "-----", "5408"},
    {kPicture, "imgPage4", kPageIcon, "", "5400"},
};

// The last two program rows are wider than the page in the dialog font: they take two lines
// each, and the options above sit closer together to make room for them.
const ControlDesign kPage5[] = {
    {kLabel, "lbPage5Header", {180, 180, 5175, 405}, "Secure Program", "5501"},
    {kLabel,
     "lbPage5Header2",
     {120, 600, 5205, 315},
     "Preconfigure Programs and their access permission",
     "5502"},
    {kLabel,
     "lbPage5Desc",
     {120, 900, 5175, 420},
     "The programs && components listed below and need to access your network",
     "5506"},
    {kOption,
     "optAllowProgram",
     {120, 1320, 3735, 435},
     "Yes, allow access && server permission for following programs ",
     "5503"},
    {kOption,
     "optNoProgramAdd",
     {120, 1770, 4215, 435},
     "No, Alert/Ask me later on when these programs will access my netwrok",
     "5504"},
    {kOption,
     "optAdvanceProgram",
     {120, 2220, 4215, 435},
     "Advance, let me customize access / server permission",
     "5505"},
    {kLabel,
     "lbAutoProgram1",
     {450, 2700, 5265, 255},
     " Default web browser: Internet Explorer (IEXPLORER.EXE)",
     ""},
    {kLabel,
     "Label1",
     {450, 2970, 5265, 390},
     "Windows web component: Generic Host Process (svchost.exe)",
     ""},
    {kLabel,
     "Label2",
     {450, 3375, 5265, 390},
     "Windows web component: Service and Controller (services.exe)",
     ""},
    {kPicture, "picProg1", {150, 2640, 270, 240}, "", ""},
    {kPicture, "picProg2", {150, 2940, 270, 240}, "", ""},
    {kPicture, "picProg3", {150, 3345, 270, 240}, "", ""},
    {kLabel, "lbPage5Footer", {120, 3800, 5300, 195}, "-----", "5507"},
    {kPicture, "imgPage5", kPageIcon, "", "5500"},
};

// The page icon comes last, as on the other pages, so that it is drawn above the title. The
// list starts below the third line of the text above it.
const ControlDesign kPage6[] = {
    {kLabel, "lbPage6Header", {180, 180, 5175, 405}, "Advance Secure Program", "5601"},
    {kLabel,
     "lbPage6Header2",
     {120, 600, 5205, 600},
     "Add or remove programs, then set permission by left click Access/Server column to "
     "secure your network",
     "5602"},
    {kList, "lvwPrograms", {90, 1200, 4065, 1380}, "", "5603"},
    {kButton, "cmdAdd", {4290, 1230, 1000, 315}, "&Add", "5604"},
    {kButton, "cmdRemove", {4290, 1620, 1000, 315}, "&Remove", "5605"},
    {kLabel, "lbPage6Desc", {150, 2640, 5295, 315}, "---------", "5606"},
    {kLabel, "lbPage6Desc1", {150, 2970, 5295, 765}, "---------", "5608"},
    {kLabel, "lbPage6Footer", {120, 3800, 5300, 195}, "-----", "5607"},
    {kPicture, "imgPage6", kPageIcon, "", "5600"},
};

const ControlDesign kPage9[] = {
    {kLabel, "lbPage9Header", {180, 180, 5175, 405}, "Configuration Finished", "5901"},
    {kLabel,
     "lbPage9Header2",
     {120, 600, 5205, 795},
     "Thanks to using Ravelgard, a truely Firewall for your network.",
     "5902"},
    {kLabel, "lbPage9Desc", {120, 1440, 5300, 735}, "", "5903"},
    {kLabel, "Label3", {120, 2220, 5300, 735}, "-----", "5905"},
    {kLabel, "lbPage9Footer", {120, 3800, 5300, 195}, "-----", "5904"},
    {kPicture, "imgPage9", kPageIcon, "", "5900"},
};

// The 16 x 16 icons beside the three fixed program rows of page 5.
constexpr int kFirstProgramRowIcon = 201;

}  // namespace

Control& AddPage1(Form& form) {
    return AddPage(form, "fraPage1", kPage1);
}

Control& AddPage3(Form& form) {
    Control& frame = AddPage(form, "fraPage3", kPage3);
    form.Get("optAlertAlltime").setValue(true);
    return frame;
}

Control& AddPage4(Form& form) {
    Control& frame = AddPage(form, "fraPage4", kPage4);
    form.Get("txtPassword").setPasswordChar('*');
    form.Get("txtConfirmPass").setPasswordChar('*');
    return frame;
}

Control& AddPage5(Form& form) {
    Control& frame = AddPage(form, "fraPage5", kPage5);
    form.Get("optAllowProgram").setValue(true);
    const char* rows[] = {"picProg1", "picProg2", "picProg3"};
    for (int i = 0; i < 3; ++i) {
        form.Get(rows[i]).setPictureId(kFirstProgramRowIcon + i);
    }
    return frame;
}

// The list's rows, menus and handlers belong to the program list; here it is its frame,
// header labels, buttons and the empty list with its fixed columns.
Control& AddPage6(Form& form) {
    Control& frame = AddPage(form, "fraPage6", kPage6);
    form.Get("lvwPrograms").setColumns({{"Programs", 2100}, {"Access", 800}, {"Server", 800}});
    return frame;
}

Control& AddPage9(Form& form) {
    return AddPage(form, "fraPage9", kPage9);
}

// The items' captions are fixed: the permission texts themselves, not language strings.
Control& AddPermissionMenu(Form& form, const char* name, const char* caption) {
    Control& menu = form.AddControl(ControlKind::Menu, name);
    menu.setCaption(caption);
    for (const char* item : {"Allow", "Block", "Ask"}) {
        Control& entry = form.AddControl(ControlKind::MenuItem, std::string(name) + item, &menu);
        entry.setCaption(item);
    }
    return menu;
}

}  // namespace rg::wizard
