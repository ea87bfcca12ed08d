// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's commands. Each value is the command's number in the
// window's command table: menu items, tool buttons and tree nodes carry it
// as their data, and RunCommand dispatches on it. The language files key
// the menu items by their component names, not by these numbers.
enum class Command : int {
    New = 1,
    Open = 2,
    Save = 3,
    SaveAs = 4,
    Print = 5,
    ChannelInformation = 10,
    ChannelNode = 11, // a channel node of the tree: the channel editor
    KeyFunction = 12,
    VoxFunction = 13,
    OptionalFunction = 14,
    RadioInformation = 15,
    DtmfInformation = 17,
    EmbeddedMessage = 18,
    ScanInformation = 19,
    ReadFromRadio = 20,
    WriteToRadio = 21,
    ModelInformation = 30,
    CommunicationPort = 31,
    LanguageFileSetup = 32,
    CheckConnection = 33,
    ImportCsv = 40,
    ImportJson = 41,
    ExportCsv = 42,
    ExportJson = 43,
    ExportPdf = 44,
    Cascade = 50,
    TileHorizontally = 51,
    TileVertically = 52,
    ArrangeIcons = 53,
    CloseAllWindows = 54,
    HelpTopics = 60,
    About = 61,
};
