-- Run before the copy's transaction begins: a desk that writes to the register
-- while it is checked, filled and counted makes the copy fail, never mix with it.
SELECT set_config('default_transaction_isolation', 'serializable', false);
