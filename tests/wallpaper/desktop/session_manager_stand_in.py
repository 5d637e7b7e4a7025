# The one call of GNOME's session manager that Cinnamon's background daemon waits for: it
# draws the desktop only once the session says it is running. Owns org.gnome.SessionManager
# on the session bus and answers that, and registers every client it is asked to.
import sys

from gi.repository import Gio, GLib

INTERFACE = Gio.DBusNodeInfo.new_for_xml("""<node>
 <interface name="org.gnome.SessionManager">
  <method name="IsSessionRunning"><arg type="b" direction="out"/></method>
  <method name="RegisterClient">
   <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="o" direction="out"/>
  </method>
  <signal name="SessionRunning"/>
 </interface>
</node>""").interfaces[0]


def on_call(_connection, _sender, _path, _interface, method, _parameters, invocation):
    if method == "IsSessionRunning":
        invocation.return_value(GLib.Variant("(b)", (True,)))
    else:
        invocation.return_value(GLib.Variant("(o)", ("/org/gnome/SessionManager/Client1",)))


def on_name(connection, _name):
    connection.register_object("/org/gnome/SessionManager", INTERFACE, on_call, None, None)
    print("ready", flush=True)


Gio.bus_own_name(Gio.BusType.SESSION, "org.gnome.SessionManager", Gio.BusNameOwnerFlags.NONE,
                 None, on_name, lambda *_: sys.exit("org.gnome.SessionManager is taken"))
GLib.MainLoop().run()
