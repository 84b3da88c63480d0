-- Run before the copy's transaction begins: the tables are read and counted in
-- one snapshot, whatever the desks write meanwhile.
SELECT set_config('default_transaction_isolation', 'repeatable read', false);
