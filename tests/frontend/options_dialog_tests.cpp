// The options dialog, driven as a user would drive it: what it shows from
// the importer, which options the header makes available, clicks, typing,
// Enter and Escape, Help and About, and what "Import" and "Cancel" leave in
// the importer and in the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frontend/options.h"
#include "importer/importoptions.h"
#include "ply/ply_schema.h"
#include "tests/frontend/options_test_support_win.h"
#include "tests/frontend/progress_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/messagebox.h"
#include "toolkit/skin.h"
#include "toolkit/spinner.h"
#include "toolkit/window_record.h"

namespace {

const int kReplaceScene = 1016, kFlipZY = 1009, kCenterPivot = 1012, kGenerateNormals = 1005;
const int kVertexNormals = 1001, kVertexColors = 1002, kTextureCoords = 1003, kMaterials = 1004;
const int kName = 1018, kScale = 1010, kHelp = 9, kAbout = 1024, kImport = 1025, kCancel = 2;
const int kVertexCount = 1006, kFaceCount = 1007, kMaterialCount = 1008;
const unsigned kAllChannels = kFlagPositions | kFlagNormals | kFlagColours | kFlagTextureCoords;

bool SameOptions(const ImportOptions& a, const ImportOptions& b) {
    return a.replaceScene == b.replaceScene && a.flipZY == b.flipZY &&
           a.centerPivot == b.centerPivot && a.scale == b.scale &&
           a.generateNormals == b.generateNormals && a.vertexNormals == b.vertexNormals &&
           a.vertexColors == b.vertexColors && a.textureCoords == b.textureCoords &&
           a.materials == b.materials;
}

class OptionsDialogTest : public ::testing::Test, public ImporterFixture {
  protected:
    int Drive(const std::function<void(HWND)>& user) {
        return DriveOptionsDialog(*importer, user, &leftOpen);
    }
    ImportOptions& options() { return importer->options; }
    bool leftOpen = false;
};

TEST(FormatCount, PutsFullStopsBetweenGroupsOfThree) {
    EXPECT_STREQ(FormatCount(0), "0");
    EXPECT_STREQ(FormatCount(7), "7");
    EXPECT_STREQ(FormatCount(999), "999");
    EXPECT_STREQ(FormatCount(1000), "1.000");
    EXPECT_STREQ(FormatCount(12345), "12.345");
    EXPECT_STREQ(FormatCount(100000), "100.000");
    EXPECT_STREQ(FormatCount(1234567), "1.234.567");
    EXPECT_STREQ(FormatCount(4294967295u), "4.294.967.295");
}

TEST(FormatCount, AnswersOneBufferThatTheNextCallOverwrites) {
    const char* first = FormatCount(1000);
    const char* second = FormatCount(5);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "5");
}

TEST_F(OptionsDialogTest, ShowsTheSavedOptionsTheNameAndTheCounts) {
    options() = ImportOptions();
    options().replaceScene = 0;
    options().centerPivot = 0;
    options().generateNormals = 1;
    options().vertexColors = 0;
    options().materials = 0;
    importer->vertexFlags = kAllChannels;
    importer->vertexCount = 1234567;
    importer->triangleCount = 4294967295u;
    importer->materialCount = 3;
    struct Seen {
        bool replace, flip, pivot, generate, normals, colours, texture, materials;
        std::string name, vertices, faces, materialCount, scale;
    } seen = {};
    Drive([&](HWND d) {
        seen = {Checked(d, kReplaceScene),
                Checked(d, kFlipZY),
                Checked(d, kCenterPivot),
                Checked(d, kGenerateNormals),
                Checked(d, kVertexNormals),
                Checked(d, kVertexColors),
                Checked(d, kTextureCoords),
                Checked(d, kMaterials),
                ItemText(d, kName),
                ItemText(d, kVertexCount),
                ItemText(d, kFaceCount),
                ItemText(d, kMaterialCount),
                ScaleText(d)};
    });
    EXPECT_FALSE(seen.replace);
    EXPECT_TRUE(seen.flip);
    EXPECT_FALSE(seen.pivot);
    EXPECT_TRUE(seen.generate);
    EXPECT_TRUE(seen.normals);
    EXPECT_FALSE(seen.colours);
    EXPECT_TRUE(seen.texture);
    EXPECT_FALSE(seen.materials);
    EXPECT_EQ(seen.name, "bunny");
    EXPECT_EQ(seen.vertices, "1.234.567");
    EXPECT_EQ(seen.faces, "4.294.967.295");
    EXPECT_EQ(seen.materialCount, "3");
    EXPECT_EQ(seen.scale, "100.0");
}

struct Availability {
    unsigned flags;
    unsigned materials;
    bool normals, colours, texture, materialBox;
};

class OptionsAvailabilityTest : public OptionsDialogTest,
                                public ::testing::WithParamInterface<Availability> {};

TEST_P(OptionsAvailabilityTest, FollowsTheHeader) {
    const Availability a = GetParam();
    importer->vertexFlags = a.flags;
    importer->materialCount = a.materials;
    bool seen[4] = {}, others = true;
    std::string materialCount;
    Drive([&](HWND d) {
        seen[0] = Enabled(d, kVertexNormals);
        seen[1] = Enabled(d, kVertexColors);
        seen[2] = Enabled(d, kTextureCoords);
        seen[3] = Enabled(d, kMaterials);
        for (int id : {kReplaceScene, kFlipZY, kCenterPivot, kGenerateNormals, kName, kScale,
                       kImport, kHelp, kAbout, kCancel})
            others = others && Enabled(d, id);
        materialCount = ItemText(d, kMaterialCount);
    });
    EXPECT_EQ(seen[0], a.normals);
    EXPECT_EQ(seen[1], a.colours);
    EXPECT_EQ(seen[2], a.texture);
    EXPECT_EQ(seen[3], a.materialBox);
    EXPECT_TRUE(others);
    EXPECT_EQ(materialCount, FormatCount(a.materials));
}

INSTANTIATE_TEST_SUITE_P(
    Header, OptionsAvailabilityTest,
    ::testing::Values(Availability{kFlagPositions, 0, false, false, false, false},
                      Availability{kFlagPositions | kFlagNormals, 0, true, false, false, false},
                      Availability{kFlagPositions | kFlagColours, 0, false, true, false, false},
                      Availability{kFlagTextureCoords, 0, false, false, true, false},
                      Availability{kFlagPositions, 2, false, false, false, true},
                      Availability{kAllChannels, 1000, true, true, true, true}));

// Texture coordinates and colours of the faces, and alpha alone, make their
// boxes available too.
TEST_F(OptionsDialogTest, FaceTexCoordsFaceColoursAndAlphaMakeTheirBoxesAvailable) {
    struct Case {
        unsigned vertexFlags, faceFlags;
        bool colours, texture;
    } cases[] = {{kFlagPositions, kFlagCornerTexCoords, false, true},
                 {kFlagPositions, kFlagColours, true, false},
                 {kFlagPositions | kFlagAlpha, 0, true, false}};
    for (const Case& c : cases) {
        importer->vertexFlags = c.vertexFlags;
        importer->faceFlags = c.faceFlags;
        bool colours = false, texture = false;
        Drive([&](HWND d) {
            colours = Enabled(d, kVertexColors);
            texture = Enabled(d, kTextureCoords);
        });
        EXPECT_EQ(colours, c.colours) << c.faceFlags;
        EXPECT_EQ(texture, c.texture) << c.faceFlags;
    }
}

// A box the header disables shows the saved state, a click cannot change
// it, and "Import" writes it back as it was, checked or not.
TEST_F(OptionsDialogTest, DisabledBoxesKeepAndWriteBackTheSavedState) {
    for (int saved : {0, 1}) {
        SCOPED_TRACE(saved);
        options().vertexNormals = saved;
        options().vertexColors = 1 - saved;
        options().textureCoords = saved;
        options().materials = 1 - saved;
        importer->vertexFlags = kFlagPositions;
        importer->materialCount = 0;
        bool shown[4] = {};
        const int result = Drive([&](HWND d) {
            shown[0] = Checked(d, kVertexNormals);
            shown[1] = Checked(d, kVertexColors);
            shown[2] = Checked(d, kTextureCoords);
            shown[3] = Checked(d, kMaterials);
            for (int id : {kVertexNormals, kVertexColors, kTextureCoords, kMaterials})
                ClickItem(d, id);
            ClickItem(d, kImport);
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(shown[0], saved == 1);
        EXPECT_EQ(shown[1], saved == 0);
        EXPECT_EQ(shown[2], saved == 1);
        EXPECT_EQ(shown[3], saved == 0);
        EXPECT_EQ(options().vertexNormals, saved);
        EXPECT_EQ(options().vertexColors, 1 - saved);
        EXPECT_EQ(options().textureCoords, saved);
        EXPECT_EQ(options().materials, 1 - saved);
    }
}

TEST_F(OptionsDialogTest, ImportTakesEveryClickedBoxOver) {
    options() = ImportOptions();
    importer->vertexFlags = kAllChannels;
    importer->materialCount = 2;
    const int result = Drive([&](HWND d) {
        for (int id : {kReplaceScene, kFlipZY, kCenterPivot, kGenerateNormals, kVertexNormals,
                       kVertexColors, kTextureCoords, kMaterials})
            ClickItem(d, id);
        ClickItem(d, kImport);
    });
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(options().replaceScene, 0);
    EXPECT_EQ(options().flipZY, 0);
    EXPECT_EQ(options().centerPivot, 0);
    EXPECT_EQ(options().generateNormals, 1);
    EXPECT_EQ(options().vertexNormals, 0);
    EXPECT_EQ(options().vertexColors, 0);
    EXPECT_EQ(options().textureCoords, 0);
    EXPECT_EQ(options().materials, 0);
    EXPECT_EQ(options().scale, 100.0f);
    EXPECT_STREQ(importer->baseName, "bunny");
}

TEST_F(OptionsDialogTest, ANameOfMoreThan63CharactersIsCutOnImport) {
    const std::string typed(40, 'a');
    const std::string name = typed + std::string(30, 'b');  // 70 characters
    std::string shown;
    Drive([&](HWND d) {
        ReplaceText(GetDlgItem(d, kName), name);
        shown = ItemText(d, kName);
        ClickItem(d, kImport);
    });
    EXPECT_EQ(shown, name);  // the field itself takes all of it
    EXPECT_EQ(std::string(importer->baseName), name.substr(0, 63));
}

TEST_F(OptionsDialogTest, AnEmptyNameIsTakenAsEmpty) {
    Drive([&](HWND d) {
        ReplaceText(GetDlgItem(d, kName), "");
        ClickItem(d, kImport);
    });
    EXPECT_STREQ(importer->baseName, "");
}

TEST_F(OptionsDialogTest, CancelLeavesTheImporterAsLoaded) {
    options().scale = 42.5f;
    const ImportOptions loaded = options();
    const int result = Drive([&](HWND d) {
        ClickItem(d, kFlipZY);
        ClickItem(d, kReplaceScene);
        ReplaceText(GetDlgItem(d, kName), "renamed");
        ReplaceText(ScaleField(d), "7");
        ClickItem(d, kCancel);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(leftOpen);
    EXPECT_TRUE(SameOptions(options(), loaded));
    EXPECT_STREQ(importer->baseName, "bunny");
}

TEST_F(OptionsDialogTest, EscapeCancels) {
    for (bool inNameField : {false, true}) {
        SCOPED_TRACE(inNameField);
        const int result = Drive([&](HWND d) {
            if (inNameField) ReplaceText(GetDlgItem(d, kName), "other");
            PressKey(d, VK_ESCAPE);
        });
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(leftOpen);
        EXPECT_STREQ(importer->baseName, "bunny");
    }
}

// Wherever the focus is, Enter neither imports nor cancels.
TEST_F(OptionsDialogTest, EnterDoesNothing) {
    std::vector<bool> openAfterEnter;
    std::string focusClass;
    const int result = Drive([&](HWND d) {
        focusClass = ClassName(FocusOf(d));
        PressKey(d, VK_RETURN);  // on the first tab stop, "Import"
        openAfterEnter.push_back(IsWindowVisible(d) != FALSE);
        ReplaceText(GetDlgItem(d, kName), "typed");
        PressKey(d, VK_RETURN);
        openAfterEnter.push_back(IsWindowVisible(d) != FALSE);
        ReplaceText(ScaleField(d), "12");
        PressKey(d, VK_RETURN);
        openAfterEnter.push_back(IsWindowVisible(d) != FALSE);
        ClickItem(d, kFlipZY);
        PressKey(d, VK_RETURN);
        openAfterEnter.push_back(IsWindowVisible(d) != FALSE);
    });
    EXPECT_EQ(focusClass, "Button");
    EXPECT_EQ(openAfterEnter, std::vector<bool>(4, true));
    EXPECT_TRUE(leftOpen);  // closed by the fixture's "Cancel"
    EXPECT_EQ(result, 0);
    EXPECT_STREQ(importer->baseName, "bunny");
}

TEST_F(OptionsDialogTest, HelpAndAboutLeaveTheDialogOpenAndItsChoicesUnchanged) {
    importer->vertexFlags = kAllChannels;
    std::string aboutOwnerIsDialog, message;
    bool aboutClosed = false, openAfterAbout = false, openAfterHelp = false;
    bool flipAfter = true, normalsAfter = true;
    std::string nameAfter, scaleAfter;
    const int result = Drive([&](HWND d) {
        ClickItem(d, kFlipZY);
        ClickItem(d, kVertexNormals);
        ReplaceText(GetDlgItem(d, kName), "chosen");
        ReplaceText(ScaleField(d), "33");

        ClickItem(d, kAbout);
        HWND about = WaitForOwnedDialog(d);
        aboutOwnerIsDialog = about ? "yes" : "no";
        if (about) {
            ClickAt(about, 140, 90);  // on the picture
            aboutClosed = WaitUntilGone(about);
        }
        Flush(d);
        openAfterAbout = IsWindowVisible(d) != FALSE;

        ClickItem(d, kHelp);
        HWND box = WaitForOwnedDialog(d);
        if (box && IsToolkitMessageBox(box)) {
            const MessageRecord* record =
                reinterpret_cast<const MessageRecord*>(GetWindowLongPtrA(box, GWLP_USERDATA));
            message = record ? record->text : "";
            ClickItem(box, 1);
            WaitUntilGone(box);
        }
        Flush(d);
        openAfterHelp = IsWindowVisible(d) != FALSE;
        flipAfter = Checked(d, kFlipZY);
        normalsAfter = Checked(d, kVertexNormals);
        nameAfter = ItemText(d, kName);
        scaleAfter = ScaleText(d);
        ClickItem(d, kImport);
    });
    EXPECT_EQ(aboutOwnerIsDialog, "yes");
    EXPECT_TRUE(aboutClosed);
    EXPECT_TRUE(openAfterAbout);
    EXPECT_EQ(message, "Help not found");
    EXPECT_TRUE(openAfterHelp);
    EXPECT_FALSE(flipAfter);
    EXPECT_FALSE(normalsAfter);
    EXPECT_EQ(nameAfter, "chosen");
    EXPECT_EQ(scaleAfter, "33.0");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(options().flipZY, 0);
    EXPECT_EQ(options().vertexNormals, 0);
    EXPECT_EQ(options().scale, 33.0f);
    EXPECT_STREQ(importer->baseName, "chosen");
}

TEST_F(OptionsDialogTest, ASavedScaleOf250Point5ShowsAsItIs) {
    options().scale = 250.5f;
    std::string shown;
    Drive([&](HWND d) {
        shown = ScaleText(d);
        ClickItem(d, kImport);
    });
    EXPECT_EQ(shown, "250.5");
    EXPECT_EQ(options().scale, 250.5f);
}

// The field keeps what was typed until the focus leaves it; the value is
// held to the maximum all along.
TEST_F(OptionsDialogTest, TypingTwentyThousandGivesTheMaximum) {
    std::string whileTyping, afterLeaving;
    Drive([&](HWND d) {
        ReplaceText(ScaleField(d), "20000");
        whileTyping = ScaleText(d);
        Click(GetDlgItem(d, kName));
        afterLeaving = ScaleText(d);
        ReplaceText(ScaleField(d), "20000");
        ClickItem(d, kImport);  // the click moves the focus: the spinner commits
    });
    EXPECT_EQ(whileTyping, "20000");
    EXPECT_EQ(afterLeaving, "10000.0");
    EXPECT_EQ(options().scale, 10000.0f);
}

TEST_F(OptionsDialogTest, ATypedScaleIsTakenOverOnImport) {
    Drive([&](HWND d) {
        ReplaceText(ScaleField(d), "0.125");
        ClickItem(d, kImport);
    });
    EXPECT_EQ(options().scale, 0.125f);
}

// The scale spinner's settings: a step of 0.1, three decimals, a minimum
// of 0.001 and a reset value of 100.
TEST_F(OptionsDialogTest, TheScaleStepsByATenthResetsTo100AndStaysAboveZero) {
    options().scale = 250.5f;
    std::string afterUp, afterReset, whileTypingZero, afterLeaving;
    Drive([&](HWND d) {
        HWND scale = GetDlgItem(d, kScale);
        Click(ScaleField(d));
        PressKey(d, VK_UP);
        afterUp = ScaleText(d);
        RightClick(GetWindowRecord<SpinnerRecord>(scale)->upButton);
        afterReset = ScaleText(d);
        ReplaceText(ScaleField(d), "0");
        whileTypingZero = ScaleText(d);
        Click(GetDlgItem(d, kName));
        afterLeaving = ScaleText(d);
        ClickItem(d, kImport);
    });
    EXPECT_EQ(afterUp, "250.6");
    EXPECT_EQ(afterReset, "100.0");
    EXPECT_EQ(whileTypingZero, "0");
    EXPECT_EQ(afterLeaving, "0.001");
    EXPECT_EQ(options().scale, 0.001f);
}

const int kSubclassed[] = {1013, 1015, 1011, 1014, kName};  // the group boxes and the name

// For each subclassed control: is its procedure its class's own?
std::vector<bool> OwnProcedures(HWND dialog) {
    std::vector<bool> own;
    for (int id : kSubclassed) {
        HWND control = GetDlgItem(dialog, id);
        own.push_back(control &&
                      GetWindowLongPtrA(control, GWLP_WNDPROC) ==
                          static_cast<LONG_PTR>(GetClassLongPtrA(control, GCLP_WNDPROC)));
    }
    return own;
}

// Seen on the dialog's thread right after the dialog handled WM_DESTROY,
// while its children still exist.
std::vector<bool> ownAfterDestroy;

LRESULT CALLBACK AfterEachMessage(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_DESTROY && GetDlgItem(sent->hwnd, kImport))
        ownAfterDestroy = OwnProcedures(sent->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(OptionsDialogTest, SubclassesItsGroupBoxesAndNameFieldAndGivesThemBackOnClose) {
    ownAfterDestroy.clear();
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROCRET, AfterEachMessage, nullptr, GetCurrentThreadId());
    std::vector<bool> ownWhileOpen;
    Drive([&](HWND d) { ownWhileOpen = OwnProcedures(d); });
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(ownWhileOpen, std::vector<bool>(5, false));
    EXPECT_EQ(ownAfterDestroy, std::vector<bool>(5, true));
}

RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy) {
    RECT rect = {x, y, x + cx, y + cy};
    MapDialogRect(dialog, &rect);
    return rect;
}

RECT ItemRect(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(OptionsDialogTest, CorrectsTheConvertedLayoutByAPixel) {
    RECT window = {}, size = {}, geometry = {}, geometryUnits = {}, selective = {},
         selectiveUnits = {}, colours = {}, coloursUnits = {}, materials = {}, materialsUnits = {},
         generate = {}, generateUnits = {}, flip = {}, flipUnits = {};
    Drive([&](HWND d) {
        GetWindowRect(d, &window);
        size = DialogUnits(d, 0, 0, 196, 165);
        geometry = ItemRect(d, 1011);
        geometryUnits = DialogUnits(d, 103, 65, 85, 66);
        selective = ItemRect(d, 1014);
        selectiveUnits = DialogUnits(d, 7, 65, 90, 66);
        colours = ItemRect(d, kVertexColors);
        coloursUnits = DialogUnits(d, 15, 90, 57, 10);
        materials = ItemRect(d, kMaterials);
        materialsUnits = DialogUnits(d, 15, 118, 44, 10);
        generate = ItemRect(d, kGenerateNormals);
        generateUnits = DialogUnits(d, 109, 118, 71, 10);
        flip = ItemRect(d, kFlipZY);
        flipUnits = DialogUnits(d, 109, 77, 51, 10);
    });
    EXPECT_EQ(window.right - window.left, size.right + 1);
    EXPECT_EQ(window.bottom - window.top, size.bottom);
    EXPECT_EQ(geometry.bottom - geometry.top, geometryUnits.bottom - geometryUnits.top + 1);
    EXPECT_EQ(geometry.top, geometryUnits.top);
    EXPECT_EQ(selective.bottom - selective.top, selectiveUnits.bottom - selectiveUnits.top + 1);
    EXPECT_EQ(colours.top, coloursUnits.top + 1);
    EXPECT_EQ(colours.bottom - colours.top, coloursUnits.bottom - coloursUnits.top);
    EXPECT_EQ(materials.top, materialsUnits.top - 1);
    EXPECT_EQ(generate.top, generateUnits.top - 1);
    EXPECT_EQ(flip.top, flipUnits.top);  // the others stay
}

// A point of the dialog's own background: between the group boxes.
POINT Gap(HWND dialog) {
    const RECT gap = DialogUnits(dialog, 99, 40, 1, 1);
    return {gap.left + 1, gap.top};
}

TEST_F(OptionsDialogTest, IsSkinnedCentredAndDraggedByItsFrame) {
    RECT window = {}, owner = {};
    bool hasRegion = false, openAfterPress = false;
    int pressesOnFrame = 0, pressesInside = 0;
    Drive([&](HWND d) {
        GetWindowRect(d, &window);
        GetWindowRect(mainWindow.Window(), &owner);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        hasRegion = GetWindowRgn(d, region) != ERROR;
        DeleteObject(region);
        ClickAt(d, 2, 100);  // the left rim
        pressesOnFrame = hook.CaptionPresses();
        const POINT gap = Gap(d);
        ClickAt(d, gap.x, gap.y);
        pressesInside = hook.CaptionPresses() - pressesOnFrame;
        openAfterPress = IsWindowVisible(d) != FALSE;
    });
    EXPECT_TRUE(hasRegion);
    EXPECT_EQ(pressesOnFrame, 1);
    EXPECT_EQ(pressesInside, 0);
    EXPECT_TRUE(openAfterPress);
    // Centred over the owner (the host's main window), as far as the screen lets it.
    const int centreX = (window.left + window.right) / 2, ownerX = (owner.left + owner.right) / 2;
    EXPECT_NEAR(centreX, ownerX, 1);
}

TEST_F(OptionsDialogTest, PaintsTheFrameAndTheHostsFaceColour) {
    COLORREF inner = 0, rim = 0;
    Drive([&](HWND d) {
        const POINT gap = Gap(d);
        RunOnWindowThread(d, [&] {
            PaintNow(d);
            inner = WindowPixel(d, gap.x, gap.y);
            rim = WindowPixel(d, 1, 100);
        });
    });
    EXPECT_EQ(inner, ToolkitColour(kFaceColour));
    EXPECT_EQ(rim, RGB(0x56, 0x56, 0x56));
}

// Both side borders read back, outermost column first: the window's shape
// must take in the right border's last dark column too, or it is never drawn.
TEST_F(OptionsDialogTest, BothSideBordersShowAllFiveGreys) {
    std::vector<COLORREF> left, right;
    Drive([&](HWND d) {
        RunOnWindowThread(d, [&] {
            PaintNow(d);
            RECT client;
            GetClientRect(d, &client);
            const int y = client.bottom / 2;
            for (int i = 0; i < 5; ++i) {
                left.push_back(WindowPixel(d, i, y));
                right.push_back(WindowPixel(d, client.right - 2 - i, y));
            }
        });
    });
    const std::vector<COLORREF> greys = {RGB(0x6E, 0x6E, 0x6E), RGB(0x56, 0x56, 0x56),
                                         RGB(0x38, 0x38, 0x38), RGB(0x26, 0x26, 0x26),
                                         RGB(0x15, 0x15, 0x15)};
    EXPECT_EQ(left, greys);
    EXPECT_EQ(right, std::vector<COLORREF>(greys.rbegin(), greys.rend()));
}

// The whole import with prompts: the settings file holds what "Import"
// took over, and "Cancel" writes nothing.
class OptionsSettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareFrontend();
        dir = TestFolder("ks_options_settings");
        core.SetMainWindow(mainWindow.Window());
        core.SetDir(APP_PLUGCFG_DIR, dir.c_str());
        core.SetDir(APP_HELP_DIR, dir.c_str());
        settings = dir + "/ks_dazazu.cfg";
        std::remove(settings.c_str());
        ply = dir + "\\quad.ply";
        FILE* file = std::fopen(ply.c_str(), "wb");
        std::fprintf(file,
                     "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
                     "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
                     "end_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n");
        std::fclose(file);
    }
    void TearDown() override {
        std::remove(settings.c_str());
        std::remove(ply.c_str());
    }

    int Import(const std::function<void(HWND)>& user) {
        DazAzu* importer = new DazAzu();
        Watcher watcher([&] {
            HWND dialog = WaitForDialogWithChild(kImport);
            if (!dialog) return;
            Flush(dialog);
            user(dialog);
        });
        const int result = importer->DoImport(ply.c_str(), &scene, &core, FALSE);
        watcher.Join();
        delete importer;
        return result;
    }

    std::string ReadSettings() {
        std::string bytes;
        FILE* file = std::fopen(settings.c_str(), "rb");
        if (!file) return bytes;
        char buffer[64];
        size_t n = std::fread(buffer, 1, sizeof buffer, file);
        std::fclose(file);
        return std::string(buffer, n);
    }

    DialogThreadHook hook;
    TestParent mainWindow{320, 200};
    HostScene scene;
    HostCore core{scene};
    std::string dir, settings, ply;
};

TEST_F(OptionsSettingsFileTest, ImportWritesTheChoicesIncludingDisabledBoxes) {
    ImportOptions saved;
    saved.vertexNormals = 0;  // the quad has no normals: its box is disabled
    saved.vertexColors = 1;
    SaveSettingsFile(settings, saved);
    const int result = Import([&](HWND d) {
        ClickItem(d, kFlipZY);
        ClickItem(d, kGenerateNormals);
        ReplaceText(ScaleField(d), "50");
        ReplaceText(GetDlgItem(d, kName), "floor");
        ClickItem(d, kImport);
    });
    EXPECT_EQ(result, 1);
    ImportOptions written;
    written.vertexNormals = 7;  // overwritten by the file
    ASSERT_TRUE(LoadSettingsFile(settings, written));
    EXPECT_EQ(ReadSettings().size(), 20u);
    EXPECT_EQ(written.flipZY, 0);
    EXPECT_EQ(written.generateNormals, 1);
    EXPECT_EQ(written.scale, 50.0f);
    EXPECT_EQ(written.vertexNormals, 0);
    EXPECT_EQ(written.vertexColors, 1);
    EXPECT_EQ(written.replaceScene, 1);
    ASSERT_EQ(scene.NodeCount(), 1);
    EXPECT_STREQ(scene.GetNode(0)->GetName(), "floor");
}

TEST_F(OptionsSettingsFileTest, CancelWritesNothing) {
    ImportOptions saved;
    saved.scale = 12.0f;
    SaveSettingsFile(settings, saved);
    const std::string before = ReadSettings();
    const int result = Import([&](HWND d) {
        ClickItem(d, kFlipZY);
        ReplaceText(ScaleField(d), "99");
        ClickItem(d, kCancel);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(ReadSettings(), before);
    EXPECT_EQ(scene.NodeCount(), 0);

    std::remove(settings.c_str());
    EXPECT_EQ(Import([&](HWND d) { PressKey(d, VK_ESCAPE); }), 2);
    EXPECT_EQ(ReadSettings(), "");  // still no file
}

}  // namespace
