// A script window: a label, an edit box, a check box and a button whose routine changes the
// label. The edited values reach the variables only when the window is closed with OK.

procedure Greet
  DlgSetControlText(1, "Hello, " + DlgGetControlText(2) + "!")
  DlgSetControlCheck(3, true)
endproc

procedure Report(closed : string; name : string; loud : boolean)
  if loud then
    writeln(closed, ": ", name, ", loud")
  else
    writeln(closed, ": ", name, ", quiet")
  endif
endproc

procedure Main
  var
    name : string;
    loud : boolean;
  endvar

  name := "Anna"
  loud := false
  CreateForm("Greeting", "Who is listening?", 120, 120, 330, 150)
  AddStatic("Greeting", "Your name, please:", 10, 12, 200, 20)
  AddEditBox("Greeting", "name", "name", 10, 36, 200, 24)
  AddCheckBox("Greeting", "loud", "loud", "Play it loud", 10, 70, 200, 24)
  AddPushButton("Greeting", "Greet", "Greet", 10, 104, 90, 28)
  if FormDialog("Greeting") then
    Report("OK", name, loud)
  else
    Report("Cancelled", name, loud)
  endif
endproc
