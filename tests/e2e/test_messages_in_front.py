"""Every message lies in front of the window that asked for it, as the window
manager stacks them: the program under Openbox, which keeps the exit screen
above other windows. Each message of the entry rules over the main window,
each message of the exit screen and of its refer-a-friend checks over the
exit screen, and a second copy's refusal over the first copy's exit screen."""


import desktop as d
from e2e_case import Case


class OpenboxDesktop(d.Desktop):
    window_manager = True


class MessagesInFront(Case):
    desktop_class = OpenboxDesktop

    def keys(self, program, window, *keys):
        self.desktop.focus(program, window)
        self.desktop.xdotool("key", "--delay", "25", *keys)

    def type(self, program, window, text):
        self.desktop.focus(program, window)
        self.desktop.xdotool("type", "--delay", "25", text)

    def stacked_above(self, a, b):
        """Whether X window a lies above b by the window manager's own record
        (bottom to top)."""
        listed = self.desktop.xdotool_stacking()
        return a in listed and (b not in listed or listed.index(a) > listed.index(b))

    def in_front(self, text, program, owner, send, owner_program=None):
        """send() brings up program's message text, which lies in front of
        the window owner (of owner_program, by default the same); Enter
        closes it."""
        send()
        box, shown = program.message_box()
        self.assertEqual(shown, text)
        box_id = int(self.desktop.x_window(program, box))
        owner_id = int(self.desktop.x_window(owner_program or program, owner))
        d.wait_until(f'"{text}" in front of its window', lambda: self.stacked_above(box_id, owner_id))
        self.keys(program, box, "Return")
        d.wait_until(f'Enter to close "{text}"', lambda: not self.message_boxes(program))

    def test_messages_in_front(self):
        program, main = self.start()
        self.in_front("Please Enter Number !", program, main, lambda: self.keys(program, main, "Return"))
        for number, text in (("12", "Please Enter A 9 Digit Numbers!"),
                             ("111111111", "You Can't Enter Same Digit Numbers!"),
                             ("100020003", "You Can't Enter More Than Three Zeros!")):
            self.in_front(text, program, main,
                          lambda: (self.type(program, main, number), self.keys(program, main, "Return")))
            self.keys(program, main, "ctrl+a", "BackSpace")
        self.in_front("Please Enter Only Numbers", program, main, lambda: self.type(program, main, "x"))

        self.keys(program, main, "alt+e")
        screen = self.exit_screen(program)
        self.in_front("Please Enter Proper Email Address", program, screen, lambda: self.keys(program, screen, "alt+n"))
        # Tab order: Exit, the check box, your name, submit, your e-mail, friend's e-mail, friend's name.
        self.in_front("Email Address Cannot Contain Space", program, screen,
                      lambda: (self.keys(program, screen, "Tab", "Tab", "Tab", "Tab"), self.type(program, screen, "a b")))
        self.keys(program, screen, "ctrl+a")
        self.type(program, screen, "ann@a.example")
        self.keys(program, screen, "Tab")
        self.type(program, screen, "bob@b.example")
        self.in_front("Please Enter Your Name", program, screen, lambda: self.keys(program, screen, "alt+n"))
        # From the friend's e-mail round to your name: friend's name, the
        # message box, Exit, the check box, your name.
        self.keys(program, screen, "Tab", "Tab", "Tab", "Tab", "Tab")
        self.type(program, screen, "Ann")
        self.in_front("Please Enter Your Friend's Name", program, screen, lambda: self.keys(program, screen, "alt+n"))
        # Started again from the launcher, the program says so where it can be seen.
        second = self.desktop.start()
        self.in_front("Application is already running", second, screen, lambda: None, owner_program=program)
        self.assert_ended(second)
        self.keys(program, screen, "alt+x")
        self.assert_ended(program)


