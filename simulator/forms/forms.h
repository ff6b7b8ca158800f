#pragma once
// Every window of the simulator, created once at start-up, reachable from every other window.
// Whoever adds a window adds its forward declaration and its pointer here and creates it in
// ProgramStart (program.cpp) at its place in the start-up order.

namespace tolvek {

class TForm1;
class TForm2;
class TForm42;
class TBtnRightDlg8;
class TForm32;
class TForm34;
class TForm38;
class TForm15;
class TForm22;
class TForm23;
class TForm24;
class TForm35;
class TForm44;
class TForm18;
class TBtnRightDlg3;
class TBtnRightDlg1;
class TBtnRightDlg4;
class TBtnRightDlg5;
class TBtnRightDlg6;
class TBtnRightDlg7;
class TBtnRightDlg40;
class TForm25;
class TForm26;
class TForm29;
class TForm33;
class TForm30;
class TForm36;
class TForm43;
class TForm16;
class TForm27;
class TForm31;
class TForm37;
class TForm41;

struct Forms {
  TForm1* form1 = nullptr;
  TForm2* form2 = nullptr;  // result graphic window
  TBtnRightDlg8* btnRightDlg8 = nullptr;
  TForm32* form32 = nullptr;
  TForm34* form34 = nullptr;
  TForm38* form38 = nullptr;
  TForm42* form42 = nullptr;
  TForm15* form15 = nullptr;  // stand choice: menus, description, photographs, calliper threshold
  TForm22* form22 = nullptr;  // display options of the selection areas
  TForm23* form23 = nullptr;  // stand catalogue with thumbnails
  TForm24* form24 = nullptr;  // optimisation of the sample plan
  TForm35* form35 = nullptr;  // stand information panel
  TForm44* form44 = nullptr;  // stand preview
  TForm18* form18 = nullptr;  // stand report
  TBtnRightDlg3* btnRightDlg3 = nullptr;  // text viewer of the work files
  TBtnRightDlg1* btnRightDlg1 = nullptr;  // method choice
  TBtnRightDlg4* btnRightDlg4 = nullptr;  // concentric circles
  TBtnRightDlg5* btnRightDlg5 = nullptr;  // fixed-area circles
  TBtnRightDlg6* btnRightDlg6 = nullptr;  // n-tree sample
  TBtnRightDlg7* btnRightDlg7 = nullptr;  // angle count
  TBtnRightDlg40* btnRightDlg40 = nullptr;  // understorey of the n-tree sample
  TForm25* form25 = nullptr;  // shares of the types or classes of the enterprise structure
  TForm26* form26 = nullptr;  // mixing of the types between compartments
  TForm29* form29 = nullptr;  // choice of the types of the enterprise structure
  TForm33* form33 = nullptr;  // the area balance as a colour matrix
  TForm30* form30 = nullptr;  // model-stand list
  TForm36* form36 = nullptr;  // classification matrix of a model stand
  TForm43* form43 = nullptr;  // real or generated model stands
  TForm27* form27 = nullptr;  // choice of the evaluation unit of an enterprise inventory
  TForm16* form16 = nullptr;  // an empty window of the enterprise views
  TForm31* form31 = nullptr;  // result table of the enterprise report
  TForm37* form37 = nullptr;  // choice of the model enterprise
  TForm41* form41 = nullptr;  // an enterprise's structure back to its default
};

}  // namespace tolvek
