// Resource and command numbers, shared by the code and the resource script.
#pragma once

#define IDR_CONTEXT_MENU 101  // menu: the context menu's popup
#define IDI_PERCHLING 102     // icon: the program's icon, 48 x 48, 256 colours
#define IDD_ABOUT 103         // dialog: About Perchling
#define IDC_LINK_CURSOR 150   // cursor shown over the About box's links

#define IDC_LINK_MAKER 1000      // About box: link to the maker's home page
#define IDC_LINK_CHARACTER 1001  // About box: link to the character's page

#define IDM_CLOSE 40001
#define IDM_ABOUT 40002
#define IDM_RESCAN 40003
#define IDM_STARTUP 40004

#define IDM_FIRST_SKIN 101  // a skin's command is this plus its index in the catalogue
