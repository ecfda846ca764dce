#pragma once

class QDialog;

// Every modal interaction of the program passes here, so that tests can
// answer from a script instead of blocking on a window.
class TModalSeam {
public:
    virtual ~TModalSeam();

    // Shows the dialog modally and returns its result.
    virtual int ExecDialog(QDialog& dialog);
};
